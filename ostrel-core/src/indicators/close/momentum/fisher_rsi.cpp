#include <algorithm>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rsi.hpp"

namespace ostrel::kinds {

// Fisher transform of the RSI rescaled to [-0.999, 0.999].
class FisherRsi final : public Indicator {
public:
    static Expected<FisherRsi, IndicatorError> make(std::size_t period) {
        OSTREL_TRY(rsi, core::Rsi::make(period));
        return FisherRsi(std::move(rsi));
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const auto r = rsi_.step(f.candle.close);
        if (!r) return std::nullopt;
        const double x = std::clamp((*r - 50.0) / 50.0, -0.999, 0.999);
        return 0.5 * std::log((1.0 + x) / (1.0 - x));
    }
    std::size_t warmup_period() const override { return rsi_.period() + 1; }

private:
    explicit FisherRsi(core::Rsi rsi) : rsi_(std::move(rsi)) {}
    core::Rsi rsi_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FisherRsi(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "FisherRsi"));
    return box_kind<kinds::FisherRsi>("FisherRsi", kinds::FisherRsi::make(period));
}

}  // namespace ostrel::catalogue
