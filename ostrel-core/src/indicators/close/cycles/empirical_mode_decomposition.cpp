#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Trend component of the empirical mode decomposition: the mean of the last
// 2 x `period` values of a band-pass (bandwidth 0.1) of the close.
class EmpiricalModeDecomposition final : public Indicator {
public:
    static Expected<EmpiricalModeDecomposition, IndicatorError> make(std::size_t period, double fraction) {
        if (auto e = check_period(period)) return *e;
        if (!(std::isfinite(fraction) && fraction > 0.0 && fraction <= 1.0))
            return IndicatorError::invalid_period("fraction must be in (0, 1]");
        // cos(2 pi / period) is exactly 1 or -1 for periods 1 and 2; its fixed band
        // (0.4 pi / period, below pi/2) is stable for every longer period.
        if (period < 3)
            return IndicatorError::invalid_period("EMD period must be >= 3 (a band-pass pole on the unit circle)");
        return EmpiricalModeDecomposition(period, fraction);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        ++count_;
        double bp = 0.0;
        if (x2_) bp = 0.5 * (1.0 - alpha_) * (x - *x2_) + beta_ * (1.0 + alpha_) * bp1_ - alpha_ * bp2_;
        bp2_ = bp1_;
        bp1_ = bp;
        x2_ = x1_;
        x1_ = x;
        if (ring_.full()) sum_ = sum_ - ring_.oldest();
        ring_.push(bp);
        sum_ = sum_ + bp;
        if (!ring_.full() || count_ < 50) return std::nullopt;
        return sum_ / static_cast<double>(ring_.capacity());
    }
    std::size_t warmup_period() const override { return ring_.capacity() > 50 ? ring_.capacity() : 50; }

private:
    // `fraction` is validated by make() but no output depends on it.
    EmpiricalModeDecomposition(std::size_t period, double /*fraction*/) : ring_(2 * period) {
        const double n = static_cast<double>(period);
        beta_ = std::cos(6.283185307179586 / n);
        const double gamma = 1.0 / std::cos(0.4 * 3.141592653589793 / n);
        alpha_ = gamma - std::sqrt(gamma * gamma - 1.0);
    }

    double alpha_ = 0.0;
    double beta_ = 0.0;
    std::optional<double> x1_, x2_;
    double bp1_ = 0.0, bp2_ = 0.0;
    core::Ring<double> ring_;
    double sum_ = 0.0;  // running sum of the ring, never recomputed
    std::size_t count_ = 0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_EmpiricalModeDecomposition(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "EmpiricalModeDecomposition"));
    OSTREL_TRY(fraction, param_f64(p, 1, "EmpiricalModeDecomposition"));
    return box_kind<kinds::EmpiricalModeDecomposition>("EmpiricalModeDecomposition",
                                                       kinds::EmpiricalModeDecomposition::make(period, fraction));
}

}  // namespace ostrel::catalogue
