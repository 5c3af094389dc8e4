#include "catalogue/params.hpp"

namespace ostrel::kinds {

// Open interest over the bar's taker volume; 0 unless that volume is above 0.
class OiToVolumeRatio final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.derivatives) return std::nullopt;
        const DerivativesTick& d = *f.derivatives;
        const double volume = d.taker_buy_volume + d.taker_sell_volume;
        if (!(volume > 0.0)) return 0.0;
        return d.open_interest / volume;
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_OiToVolumeRatio(std::span<const double>) { return box_kind(kinds::OiToVolumeRatio{}); }

}  // namespace ostrel::catalogue
