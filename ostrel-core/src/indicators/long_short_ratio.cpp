#include "catalogue/params.hpp"

namespace ostrel::kinds {

// Long positions over short positions; 0 when there are no short positions.
class LongShortRatio final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.derivatives) return std::nullopt;
        const DerivativesTick& d = *f.derivatives;
        if (d.short_positions == 0.0) return 0.0;
        return d.long_positions / d.short_positions;
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_LongShortRatio(std::span<const double>) { return box_kind(kinds::LongShortRatio{}); }

}  // namespace ostrel::catalogue
