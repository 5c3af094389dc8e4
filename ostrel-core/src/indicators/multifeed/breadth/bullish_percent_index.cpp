#include <cmath>
#include <cstdint>

#include "catalogue/params.hpp"
#include "indicators/core/breadth.hpp"

namespace ostrel::kinds {

// Percentage of instruments on a buy signal (NaN for an empty cross-section).
class BullishPercentIndex final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto c = core::BreadthCounts::of(f);
        if (!c) return std::nullopt;
        return static_cast<double>(c->bullish) * 100.0 / static_cast<double>(c->entries);
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_BullishPercentIndex(std::span<const double>) { return box_kind(kinds::BullishPercentIndex{}); }

}  // namespace ostrel::catalogue
