#include <cmath>
#include <cstdint>

#include "catalogue/params.hpp"
#include "indicators/core/breadth.hpp"

namespace ostrel::kinds {

// Advances less declines of the bar.
class TickIndex final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto c = core::BreadthCounts::of(f);
        if (!c) return std::nullopt;
        return static_cast<double>(c->advances - c->declines);
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TickIndex(std::span<const double>) { return box_kind(kinds::TickIndex{}); }

}  // namespace ostrel::catalogue
