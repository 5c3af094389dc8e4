#include "indicators/core/mama.hpp"

#include <cmath>

#include "indicators/core/min_max.hpp"

namespace ostrel::core {

std::optional<MamaOut> Mama::step(double x) {
    constexpr double eps = 2.220446049250313e-16;
    if (!std::isfinite(x)) return std::nullopt;
    ++count_;
    prices_.push_front(x);
    if (!prices_.full()) return std::nullopt;
    double smooth = (prices_[3] + ((4.0 * prices_[0] + 3.0 * prices_[1]) + (prices_[2] + prices_[2]))) / 10.0;
    smoothed_.push_front(smooth);
    if (!smoothed_.full()) {
        mama_ = smooth;
        fama_ = smooth;
        return std::nullopt;
    }
    double adj = min_ignoring_nan(max_ignoring_nan(period_, 6.0), 50.0) * 0.075 + 0.54;
    double detrender = hilbert(smoothed_) * adj;
    detrended_.push_front(detrender);
    if (!detrended_.full()) return std::nullopt;
    double q1 = hilbert(detrended_) * adj;
    double i1 = detrended_[3];
    quadrature_.push_front(q1);
    in_phase_.push_front(i1);
    if (!quadrature_.full() || !in_phase_.full()) return std::nullopt;

    double ji = hilbert(in_phase_) * adj;
    double jq = hilbert(quadrature_) * adj;
    double i2 = (i2_ * 0.8) + ((i1 - jq) * 0.2);
    double q2 = ((q1 + ji) * 0.2) + (q2_ * 0.8);
    double re = (re_ * 0.8) + ((q2 * q2_ + i2 * i2_) * 0.2);
    double im = (im_ * 0.8) + ((i2 * q2_ - q2 * i2_) * 0.2);
    i2_ = i2;
    q2_ = q2;
    re_ = re;
    im_ = im;

    double raw = (std::fabs(im) > eps && std::fabs(re) > eps) ? 6.283185307179586 / std::atan2(im, re) : period_;
    raw = min_ignoring_nan(raw, 1.5 * period_);
    raw = max_ignoring_nan(raw, 0.67 * period_);
    if (raw < 6.0) raw = 6.0;
    if (raw > 50.0) raw = 50.0;
    period_ = period_ * 0.8 + raw * 0.2;

    double phase = std::fabs(i1) > eps ? std::atan(q1 / i1) * 57.29577951308232 : phase_;
    double delta = phase_ - phase;
    if (delta < 1.0) delta = 1.0;
    double alpha = fast_limit_ / delta;
    if (alpha < slow_limit_) alpha = slow_limit_;

    mama_ = x * alpha + mama_ * (1.0 - alpha);
    phase_ = phase;
    fama_ = fama_ * (1.0 - alpha * 0.5) + (alpha * 0.5) * mama_;
    if (count_ >= 33) {
        last_ = MamaOut{mama_, fama_};
        return last_;
    }
    return std::nullopt;
}

}  // namespace ostrel::core

#include "catalogue/params.hpp"

namespace ostrel::kinds {

// MESA adaptive average with its following line as named outputs.
class Mama final : public Indicator {
public:
    explicit Mama(core::Mama m) : m_(std::move(m)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        auto r = m_.step(f.candle.close);
        if (!r) return std::nullopt;
        out_.store({r->mama, r->fama});
        return r->mama;
    }
    std::span<const NamedOutput> outputs() const override { return out_.view(); }
    std::size_t warmup_period() const override { return 33; }

private:
    core::Mama m_;
    OutputSlots<2> out_{{"mama", "fama"}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Mama(std::span<const double> p) {
    OSTREL_TRY(fast_limit, param_f64(p, 0, "Mama"));
    OSTREL_TRY(slow_limit, param_f64(p, 1, "Mama"));
    return box_kind<kinds::Mama>("Mama", core::Mama::make(fast_limit, slow_limit));
}

}  // namespace ostrel::catalogue
