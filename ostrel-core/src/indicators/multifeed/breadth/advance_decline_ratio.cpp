#include <cmath>
#include <cstdint>

#include "catalogue/params.hpp"
#include "indicators/core/breadth.hpp"

namespace ostrel::kinds {

// Advancing over declining instruments, A / max(D, 1).
class AdvanceDeclineRatio final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto c = core::BreadthCounts::of(f);
        if (!c) return std::nullopt;
        return c->advance_decline_ratio();
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AdvanceDeclineRatio(std::span<const double>) { return box_kind(kinds::AdvanceDeclineRatio{}); }

}  // namespace ostrel::catalogue
