#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ema.hpp"

namespace ostrel::kinds {

// Volume zone oscillator: exponential average of the volume signed by the move of
// the close, as a percentage of the exponential average of the volume.
class Vzo final : public Indicator {
public:
    static Expected<Vzo, IndicatorError> make(std::size_t period) {
        OSTREL_TRY(signed_avg, core::Ema::make(period));
        return Vzo(signed_avg, signed_avg);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (!prev_close_) {
            prev_close_ = c->close;
            return std::nullopt;
        }
        const double v = c->volume;
        const double sv = c->close > *prev_close_ ? v : (c->close < *prev_close_ ? -v : 0.0);
        prev_close_ = c->close;
        auto s = signed_volume_.step(sv);
        auto t = volume_.step(v);
        if (!s || !t) return std::nullopt;
        if (*t == 0.0) return 0.0;
        return (*s * 100.0) / *t;
    }
    std::size_t warmup_period() const override { return volume_.period() + 1; }

private:
    Vzo(core::Ema signed_volume, core::Ema volume) : signed_volume_(signed_volume), volume_(volume) {}

    std::optional<double> prev_close_;
    core::Ema signed_volume_;
    core::Ema volume_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Vzo(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Vzo"));
    return box_kind<kinds::Vzo>("Vzo", kinds::Vzo::make(period));
}

}  // namespace ostrel::catalogue
