#include <cmath>
#include <cstdint>

#include "catalogue/params.hpp"
#include "indicators/core/breadth.hpp"

namespace ostrel::kinds {

// Percentage of instruments above their moving average (NaN for an empty
// cross-section).
class PercentAboveMa final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto c = core::BreadthCounts::of(f);
        if (!c) return std::nullopt;
        return static_cast<double>(c->above_ma) * 100.0 / static_cast<double>(c->entries);
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_PercentAboveMa(std::span<const double>) { return box_kind(kinds::PercentAboveMa{}); }

}  // namespace ostrel::catalogue
