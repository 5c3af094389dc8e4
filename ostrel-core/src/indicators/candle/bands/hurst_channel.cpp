#include <cmath>
#include <limits>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::kinds {

// Hurst channel: the simple average of the close plus and minus a multiple of the
// window's highest high minus its lowest low.
class HurstChannel final : public Indicator {
public:
    static Expected<HurstChannel, IndicatorError> make(std::size_t period, double multiplier) {
        if (!std::isfinite(multiplier) || !(multiplier > 0.0)) return IndicatorError::non_positive_multiplier();
        OSTREL_TRY(sma, core::Sma::make(period));
        return HurstChannel(std::move(sma), period, multiplier);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        highs_.push(c->high);
        lows_.push(c->low);
        auto s = sma_.step(c->close);
        if (!s) return std::nullopt;
        const double hh = core::highest(highs_);
        const double ll = core::lowest(lows_);
        double half = multiplier_ * (hh - ll);
        outputs_.store({*s + half, *s, *s - half});
        return *s + half;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return sma_.period(); }

private:
    HurstChannel(core::Sma sma, std::size_t period, double multiplier)
        : highs_(period), lows_(period), sma_(std::move(sma)), multiplier_(multiplier),
          outputs_({"upper", "middle", "lower"}) {}

    core::Ring<double> highs_;
    core::Ring<double> lows_;
    core::Sma sma_;
    double multiplier_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HurstChannel(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "HurstChannel"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "HurstChannel"));
    return box_kind<kinds::HurstChannel>("HurstChannel", kinds::HurstChannel::make(period, multiplier));
}

}  // namespace ostrel::catalogue
