// Short recursive filters of the cycle family: the two-pole super smoother, the
// two-pole high-pass and the one-pole roofing high-pass. Each keeps only its last
// inputs and outputs; the kinds that embed them step them with finite values. Also
// the kind core of the kinds that report one such filter of the close.
//
// Stability. Each recurrence is y = a1 y1 + a2 y2 (+ input terms); its poles, the
// roots of z^2 - a1 z - a2, must lie strictly inside the unit circle, or the filter
// never forgets: outside it the output grows without bound (1e261 after 300 bars),
// on it rounding residues pile up undamped. The kinds refuse such parameters when
// they are built, either by an exact condition on the parameter or by testing the
// very coefficients the step uses (a rounded coefficient can put a pole on the
// circle where the exact one lies inside).
//   super smoother: complex poles a e^(+-iw), modulus a = exp(-w) < 1 for every
//     length (never refused);
//   two-pole high-pass: a double pole at 1 - alpha, inside for alpha in (0, 2),
//     that is for every n >= 2 (n = 1 puts it near -7.3);
//   one-pole high-pass: a pole at 1 - alpha1 = tan(pi/4 - w/2), inside for
//     w = 2 pi / n in (0, pi), that is n >= 3 (n = 1, 2 put it at +1, -1);
//   band-pass: poles with product alpha and sum beta (1 + alpha), see
//     bandpass_stable.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/core/equal_run.hpp"
#include "indicators/indicator.hpp"

namespace ostrel::core {

// The refusal text of the two-pole high-pass's period (HighpassFilter, Decycler).
inline constexpr const char* kHighpassPeriodText = "high-pass period must be >= 2 (a pole on or outside the unit circle)";
// The refusal text of a one-pole high-pass period of 1 or 2 (RoofingFilter,
// EvenBetterSinewave).
inline constexpr const char* kOnePoleHighpassPeriodText =
    "hp_period must be >= 3 (a high-pass pole on or outside the unit circle)";

// sqrt(2) * pi, the angle constant of the super smoother.
inline constexpr double kSuperSmootherAngle = 4.442882938158366;
// 0.707 * 2 * pi, the angle constant of the two-pole high-pass (differs from the
// smoother's in the fourth decimal).
inline constexpr double kHighpassAngle = 4.442212012175967;

// Two-pole smoother over a length L (any positive float). Its first two steps pass
// the input through; afterwards out = c1 * mid(v, previous v) + c2 * f1 + c3 * f2.
struct SuperSmoother {
    static SuperSmoother over(double length) {
        const double w = kSuperSmootherAngle / length;
        const double a = std::exp(-w);
        const double c2 = 2.0 * a * std::cos(w);
        const double c3 = -(a * a);
        return with(1.0 - c2 - c3, c2, c3);
    }
    static SuperSmoother with(double c1, double c2, double c3) {
        SuperSmoother s;
        s.c1 = c1;
        s.c2 = c2;
        s.c3 = c3;
        return s;
    }

    // Fed one value from the start, the exact output is that value (c1 + c2 + c3 = 1).
    static double on_constant(double v) { return v; }

    double step(double v) {
        double out = v;
        if (s_in && f1 && f2) out = c1 * midpoint(v, *s_in) + c2 * *f1 + c3 * *f2;
        f2 = f1;
        f1 = out;
        s_in = v;
        return out;
    }

    double c1 = 0.0, c2 = 0.0, c3 = 0.0;
    std::optional<double> s_in, f1, f2;
};

// Two-pole high-pass over a length n: 0 until two earlier inputs exist, then
// (1 - a/2)^2 (x - 2 x1 + x2) + 2 (1 - a) hp1 - (1 - a)^2 hp2.
struct TwoPoleHighpass {
    static TwoPoleHighpass over(std::size_t n) {
        const double w = kHighpassAngle / static_cast<double>(n);
        const double c = std::cos(w);
        TwoPoleHighpass h;
        h.alpha = (c + std::sin(w) - 1.0) / c;
        return h;
    }

    // Fed one value from the start, the exact output is 0.
    static double on_constant(double) { return 0.0; }

    double step(double x) {
        double hp = 0.0;
        if (x1 && x2) {
            const double k = 1.0 - alpha / 2.0;
            const double g = 1.0 - alpha;
            hp = (k * k) * ((x - 2.0 * *x1) + *x2) + 2.0 * g * hp1 - (g * g) * hp2;
        }
        x2 = x1;
        x1 = x;
        hp2 = hp1;
        hp1 = hp;
        return hp;
    }

    double alpha = 0.0;
    std::optional<double> x1, x2;
    double hp1 = 0.0, hp2 = 0.0;
};

// One-pole high-pass of the roofing filter: 0 on the first step, then
// (1 - a/2)(x - x1) + (1 - a) hp1.
struct OnePoleHighpass {
    // The pole 1 - alpha1, as the step computes it, lies strictly inside the unit
    // circle. Exactly true for n >= 3 except n = 4 (cos w rounds to 6e-17, alpha1
    // to 0) and n above 2 pi x 2^53 (sin w vanishes next to 1, alpha1 is 0).
    bool stable() const { return std::fabs(1.0 - alpha1) < 1.0; }

    // alpha1 = (cos w + sin w - 1) / cos w with w = 2 pi / n.
    static OnePoleHighpass over(double n) {
        const double w = 6.283185307179586 / n;  // 2 pi / n
        const double c = std::cos(w);
        return with_alpha((c + std::sin(w) - 1.0) / c);
    }
    static OnePoleHighpass with_alpha(double alpha1) {
        OnePoleHighpass h;
        h.alpha1 = alpha1;
        return h;
    }

    double step(double x) {
        const double hp = x1 ? (1.0 - alpha1 / 2.0) * (x - *x1) + (1.0 - alpha1) * hp1 : 0.0;
        x1 = x;
        hp1 = hp;
        return hp;
    }

    double alpha1 = 0.0;
    std::optional<double> x1;
    double hp1 = 0.0;
};

// The fixed prefilter of the window-based cycle oscillators: a one-pole high-pass
// followed by a super smoother of length 10 (its coefficients as fixed constants).
struct RoofingPrefilter {
    static RoofingPrefilter with(OnePoleHighpass hp) {
        return RoofingPrefilter{hp, SuperSmoother::with(0.2531948016118099, 1.1580458998309644, -0.4112407014427743)};
    }

    // The smoothed high-pass of x; nothing when the high-pass is not finite (the
    // high-pass keeps its new state, the smoother is not stepped).
    std::optional<double> step(double x) {
        const double h = highpass.step(x);
        if (!std::isfinite(h)) return std::nullopt;
        return smoother.step(h);
    }

    OnePoleHighpass highpass;
    SuperSmoother smoother;
};

// The poles of the band-pass bp = ... + c1 bp1 - alpha bp2 with c1 = beta (1 + alpha),
// its coefficients as the step computes them, lie strictly inside the unit circle:
// |alpha| < 1 and |c1| < 1 + alpha (the stability triangle of a second-order
// recurrence). beta = cos(2 pi / period) is +-1 for periods 1 and 2 (a pole at +-1);
// alpha = gamma - sqrt(gamma^2 - 1), gamma = 1 / cos(theta), is in (0, 1) for theta
// in (0, pi/2), reaches -1 and beyond past pi/2, and rounds to 1 where cos(theta)
// rounds to 1 (theta below about 2^-26.5).
inline bool bandpass_stable(double beta, double alpha) {
    const double c1 = beta * (1.0 + alpha);
    return std::fabs(alpha) < 1.0 && std::fabs(c1) < 1.0 + alpha;
}

// The kind core of HighpassFilter and SuperSmoother: a non-finite close is ignored;
// every finite one steps the filter, whose output is the value from the first bar.
// While every input so far is the same value the filter's exact output is known
// (0 for the high-pass, the input for the smoother): `Filter::on_constant(x)` gives
// it, and the stored outputs keep their rounded arithmetic, so that every value
// after the first change of the input is the filter's own. (Only a value that differs
// is replaced: a run of signed zeros keeps the signs its arithmetic gives.)
template <class Filter>
class CloseFilterKind : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        const double out = filter_.step(x);
        inputs_.push(x);
        if (inputs_.constant_from_start() && out != Filter::on_constant(x)) return Filter::on_constant(x);
        return out;
    }
    std::size_t warmup_period() const override { return 1; }

protected:
    explicit CloseFilterKind(Filter filter) : filter_(filter) {}

private:
    Filter filter_;
    EqualRun inputs_;
};

}  // namespace ostrel::core
