#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ema.hpp"
#include "indicators/core/lag_window.hpp"

namespace ostrel::kinds {

// Wave PM: the squared `period`-bar move against its exponential average, mapped
// onto 0..1 by 1 - exp(-q / 2e), smoothed again and scaled to 0..100.
class WavePm final : public Indicator {
public:
    static Expected<WavePm, IndicatorError> make(std::size_t period, std::size_t smooth_period) {
        OSTREL_TRY(closes, core::LagWindow::make(period));
        OSTREL_TRY(smoother1, core::Ema::make(period));
        OSTREL_TRY(smoother2, core::Ema::make(smooth_period));
        return WavePm(std::move(closes), std::move(smoother1), std::move(smoother2));
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        const auto old = closes_.push(close);
        if (!old) return std::nullopt;
        const double d = close - *old;
        const double q = d * d;
        if (!std::isfinite(q)) return std::nullopt;
        const auto e = smoother1_.step(q);
        if (!e) return std::nullopt;
        const double v = *e > 0.0 ? 1.0 - std::exp(-q / (*e + *e)) : 0.0;
        if (!std::isfinite(v)) return std::nullopt;
        const auto s = smoother2_.step(v);
        if (!s) return std::nullopt;
        return *s * 100.0;
    }
    std::size_t warmup_period() const override { return smoother2_.period() + 2 * closes_.period() - 1; }

private:
    WavePm(core::LagWindow closes, core::Ema smoother1, core::Ema smoother2)
        : closes_(std::move(closes)), smoother1_(std::move(smoother1)), smoother2_(std::move(smoother2)) {}

    core::LagWindow closes_;
    core::Ema smoother1_;
    core::Ema smoother2_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_WavePm(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "WavePm"));
    OSTREL_TRY(smooth_period, param_usize(p, 1, "WavePm"));
    return box_kind<kinds::WavePm>("WavePm", kinds::WavePm::make(period, smooth_period));
}

}  // namespace ostrel::catalogue
