#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/rsi.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::kinds {

// The price ratio x / y with its simple average over `period` ratios and its RSI
// over `rsi_period` changes; a value once both inner states give one.
class RelativeStrengthAB final : public Indicator {
public:
    static Expected<RelativeStrengthAB, IndicatorError> make(std::size_t period, std::size_t rsi_period) {
        OSTREL_TRY(sma, core::Sma::make(period));
        OSTREL_TRY(rsi, core::Rsi::make(rsi_period));
        return RelativeStrengthAB(std::move(sma), std::move(rsi));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in || in->y == 0.0) return std::nullopt;
        const double ratio = in->x / in->y;
        // A ratio that overflows is refused by both inner states alike.
        const auto ma = sma_.step(ratio);
        const auto rsi = rsi_.step(ratio);
        if (!ma || !rsi) return std::nullopt;
        outputs_.store({ratio, *ma, *rsi});
        return ratio;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override {
        const std::size_t r = rsi_.warmup_period();
        return sma_.period() > r ? sma_.period() : r;
    }

private:
    RelativeStrengthAB(core::Sma sma, core::Rsi rsi) : sma_(std::move(sma)), rsi_(std::move(rsi)) {}

    core::Sma sma_;
    core::Rsi rsi_;
    OutputSlots<3> outputs_{{"ratio", "ratio_ma", "ratio_rsi"}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RelativeStrengthAB(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "RelativeStrengthAB"));
    OSTREL_TRY(rsi_period, param_usize(p, 1, "RelativeStrengthAB"));
    return box_kind<kinds::RelativeStrengthAB>("RelativeStrengthAB", kinds::RelativeStrengthAB::make(period, rsi_period));
}

}  // namespace ostrel::catalogue
