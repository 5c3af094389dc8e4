#include "indicators/core/ht_dcphase.hpp"

#include <cmath>

#include "indicators/core/dc_phasor.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::core {

ChainStage HilbertChain::step(double x) {
    constexpr double eps = 2.220446049250313e-16;
    ++count_;
    prices_.push(x);
    if (!prices_.full()) return ChainStage::Counted;
    smooth_.push((4.0 * prices_[0] + 3.0 * prices_[1] + 2.0 * prices_[2] + prices_[3]) / 10.0);
    if (!smooth_.full()) return ChainStage::Smoothed;

    // The period of the previous step, clamped (a NaN operand is ignored).
    const double adj = 0.075 * min_ignoring_nan(max_ignoring_nan(period_, 6.0), 50.0) + 0.54;
    detrender_.push(adj * hilbert(smooth_));
    if (!detrender_.full()) return ChainStage::Smoothed;
    q1_.push(adj * hilbert(detrender_));
    i1_.push(detrender_[3]);
    if (!q1_.full() || !i1_.full()) return ChainStage::Smoothed;

    const double i1 = i1_[0];
    const double q1 = q1_[0];
    const double ji = adj * hilbert(i1_);
    const double jq = adj * hilbert(q1_);
    const double i2 = 0.2 * (i1 - jq) + 0.8 * i2_;
    const double q2 = 0.2 * (q1 + ji) + 0.8 * q2_;
    const double re = 0.2 * (i2 * i2_ + q2 * q2_) + 0.8 * re_;
    const double im = 0.2 * (i2 * q2_ - q2 * i2_) + 0.8 * im_;
    i2_ = i2;
    q2_ = q2;
    re_ = re;
    im_ = im;

    double p = (std::fabs(im) > eps && std::fabs(re) > eps) ? 6.283185307179586 / std::atan2(im, re) : period_;
    p = min_ignoring_nan(p, 1.5 * period_);
    p = max_ignoring_nan(p, 0.67 * period_);
    if (p < 6.0) p = 6.0;
    if (p > 50.0) p = 50.0;
    period_ = 0.2 * p + 0.8 * period_;
    smooth_period_ = 0.33 * period_ + 0.67 * smooth_period_;
    return ChainStage::Measured;
}

DcPhase dc_phase(const PhaseHistory& history, double smooth_period) {
    // floor(smooth_period + 0.5) limited to [1, history size] (the bounds are tested
    // in floating point, so no out-of-range value is ever converted).
    const double dc = std::floor(smooth_period + 0.5);
    const std::size_t held = history.size();
    std::size_t n = 1;
    if (dc > static_cast<double>(held)) {
        n = held;
    } else if (dc >= 1.0) {
        n = static_cast<std::size_t>(dc);
    }

    const auto phasor = dc_phasor(n);
    double real = 0.0;
    double imag = 0.0;
    for (std::size_t k = 0; k < n; ++k) {
        real = real + phasor[k].sin * history[k];
        imag = imag + phasor[k].cos * history[k];
    }

    return DcPhase{phase_of(real, imag, smooth_period), n};
}

double phase_of(double real, double imag, double smooth_period) {
    double phase;
    if (std::fabs(imag) > 0.001) {
        phase = std::atan(real / imag) * 57.29577951308232 + 90.0;
    } else {
        phase = real < 0.0 ? 0.0 : 180.0;
    }
    phase += 360.0 / smooth_period;
    if (imag < 0.0) phase += 180.0;
    if (phase > 315.0) phase -= 360.0;
    return phase;
}

}  // namespace ostrel::core
