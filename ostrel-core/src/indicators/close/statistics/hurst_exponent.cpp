#include <cmath>
#include <limits>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Hurst exponent by rescaled range: for chunk counts k = 1 .. chunks the mean R/S of
// chunks of n / k closes gives the point (ln L, ln R/S); the value is the slope of the
// least-squares line through the points, held to [0, 1].
class HurstExponent final : public Indicator {
public:
    static Expected<HurstExponent, IndicatorError> make(std::size_t period, std::size_t chunks) {
        if (chunks < 2) return IndicatorError::invalid_period("Hurst chunks must be >= 2");
        if (chunks > MAX_PERIOD) return IndicatorError::too_long();
        if (period < 2 * chunks) return IndicatorError::invalid_period("Hurst period must be >= 2 * chunks");
        // Refuse lengths beyond the common maximum like every window.
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return HurstExponent(period, chunks);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (std::isfinite(x)) run_.push(x);
        if (!core::push_finite(window_, x)) return std::nullopt;
        scratch_.reserve(period_);  // once, when the window first fills
        // In a window of equal closes every chunk has range and deviation 0 and is
        // skipped, leaving no point: 0.5, whatever residue the rounded means leave.
        if (run_.covers(period_)) return 0.5;
        scratch_.clear();
        window_.for_each([&](double v) { scratch_.push_back(v); });
        const std::vector<double>& s = scratch_;
        double sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0;
        std::size_t points = 0;
        for (std::size_t k = 1; k <= chunks_; ++k) {
            const std::size_t len = period_ / k;
            const double l = static_cast<double>(len);
            double rs_sum = 0.0;
            std::size_t counted = 0;
            for (std::size_t c = 0; c < k; ++c) {
                const std::size_t start = c * len;
                double sum = 0.0;
                for (std::size_t i = start; i < start + len; ++i) sum = sum + s[i];
                const double mean = sum / l;
                double y = 0.0, ss = 0.0;
                double largest = -std::numeric_limits<double>::infinity();
                double smallest = std::numeric_limits<double>::infinity();
                for (std::size_t i = start; i < start + len; ++i) {
                    double d = s[i] - mean;
                    y = y + d;
                    if (y > largest) largest = y;
                    if (y < smallest) smallest = y;
                    ss = ss + d * d;
                }
                double range = largest - smallest;
                double s2 = ss / l;
                // A chunk of equal closes has range and deviation exactly 0 and does not
                // count, whatever residue its rounded mean leaves. That residue is a few
                // units in the last place of the mean (at most about len of them), so the
                // closes are compared only when the deviation is that small.
                if (!(s2 > 0x1p-52 * (mean * mean)) && core::all_equal(s, start, start + len)) continue;
                if (range != 0.0 && s2 != 0.0) {
                    rs_sum = rs_sum + range / std::sqrt(s2);
                    ++counted;
                }
            }
            if (counted == 0) continue;
            double px = std::log(l);
            double py = std::log(rs_sum / static_cast<double>(counted));
            sx = sx + px;
            sy = sy + py;
            sxx = sxx + px * px;
            sxy = sxy + px * py;
            ++points;
        }
        if (points < 2) return 0.5;
        const double p = static_cast<double>(points);
        const double den = p * sxx - sx * sx;
        // Points that all share one chunk length give no slope: answer as with fewer
        // than two points.
        if (den == 0.0) return 0.5;
        double h = (p * sxy - sx * sy) / den;
        if (h < 0.0) return 0.0;
        if (h > 1.0) return 1.0;
        return h;
    }
    std::size_t warmup_period() const override { return period_; }

private:
    HurstExponent(std::size_t period, std::size_t chunks) : window_(period), period_(period), chunks_(chunks) {}

    core::Ring<double> window_;
    core::EqualRun run_;
    std::vector<double> scratch_;
    std::size_t period_;
    std::size_t chunks_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HurstExponent(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "HurstExponent"));
    OSTREL_TRY(chunks, param_usize(p, 1, "HurstExponent"));
    return box_kind<kinds::HurstExponent>("HurstExponent", kinds::HurstExponent::make(period, chunks));
}

}  // namespace ostrel::catalogue
