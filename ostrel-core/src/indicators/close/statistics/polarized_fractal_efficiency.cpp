#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/seeded_ema.hpp"

namespace ostrel::kinds {

// Straight-line distance over `period` bars against the path of unit-step segments,
// signed by direction and in percent, smoothed by an exponential average seeded with
// the mean of its first `smooth` raw values.
class PolarizedFractalEfficiency final : public Indicator {
public:
    static Expected<PolarizedFractalEfficiency, IndicatorError> make(std::size_t period, std::size_t smooth) {
        if (auto e = check_period(period)) return *e;
        OSTREL_TRY(ema, core::SeededEma::make(smooth));
        return PolarizedFractalEfficiency(period, std::move(ema));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        if (prev_close_) {
            double d = x - *prev_close_;
            double segment = std::sqrt(d * d + 1.0);
            path_ = path_ + segment;
            segments_.push(segment);
            if (segments_.size() > period_) {
                double o = segments_.oldest();
                segments_.pop_oldest();
                path_ = path_ - o;
            }
        }
        prev_close_ = x;
        closes_.push(x);
        if (!closes_.full()) return std::nullopt;
        const double n = static_cast<double>(period_);
        double d = x - closes_.oldest();
        double sign = d > 0.0 ? 100.0 : (d < 0.0 ? -100.0 : 0.0);
        double raw = std::sqrt(d * d + n * n) * sign / path_;
        // By the triangle inequality the exact path of unit-step segments is never
        // shorter than the straight distance over the same bars, so the ratio lies
        // within -100..100: a path read shorter (a residue of steep segments that
        // have left, or rounding on a straight run) is held to the bounds. A path
        // read at 0 or below, where the exact one is at least `period`, reads as the
        // straight line itself, whose ratio is exactly the sign.
        if (!(path_ > 0.0 && std::fabs(raw) <= 100.0)) [[unlikely]] {
            if (path_ <= 0.0) {
                raw = sign;
            } else {
                if (std::isnan(raw)) return std::nullopt;
                raw = raw < 0.0 ? -100.0 : 100.0;
            }
        }
        return ema_.step_unfused(raw);
    }
    std::size_t warmup_period() const override { return period_ + ema_.period(); }

private:
    PolarizedFractalEfficiency(std::size_t period, core::SeededEma ema)
        : closes_(period + 1), segments_(period + 1), ema_(std::move(ema)), period_(period) {}

    std::optional<double> prev_close_;
    core::Ring<double> closes_;
    core::Ring<double> segments_;  // one spare slot: a segment is added before the oldest leaves
    core::SeededEma ema_;
    std::size_t period_;
    double path_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_PolarizedFractalEfficiency(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "PolarizedFractalEfficiency"));
    OSTREL_TRY(smooth, param_usize(p, 1, "PolarizedFractalEfficiency"));
    return box_kind<kinds::PolarizedFractalEfficiency>("PolarizedFractalEfficiency",
                                                       kinds::PolarizedFractalEfficiency::make(period, smooth));
}

}  // namespace ostrel::catalogue
