#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/anchored_sums.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/log_return_step.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Classifies each new log return against the mean and sample deviation of the
// previous `period` returns: +1 above mean + threshold * sd, -1 below
// mean - threshold * sd, else 0. The anchored sums are rebuilt about the window mean
// once the window is full and at least `period` updates have passed since the last
// rebuild; the filling phase never rebuilds.
class JumpIndicator final : public Indicator {
public:
    static Expected<JumpIndicator, IndicatorError> make(std::size_t period, double threshold) {
        if (period < 2) return IndicatorError::invalid_period("jump indicator needs period >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        if (!std::isfinite(threshold) || !(threshold > 0.0))
            return IndicatorError::invalid_parameter("jump indicator threshold must be finite and positive");
        return JumpIndicator(period, threshold);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto ret = log_return_.step(f.candle.close);
        if (!ret) return std::nullopt;
        double r = *ret;
        if (!returns_.full()) {
            returns_.push(r);
            sums_.add(r);
            run_.push(r);
            ++pushes_since_anchor_;
            return std::nullopt;
        }
        const double n = static_cast<double>(period_);
        // Equal returns have no spread, whatever residue the sums keep.
        double var = run_.covers(period_) ? 0.0 : sums_.sample_variance(n);
        double signal = 0.0;
        if (var != 0.0) {
            double mean = sums_.anchor + sums_.sum / n;
            double sd = std::sqrt(var);
            double d = r - mean;
            double band = threshold_ * sd;
            if (d > band) {
                signal = 1.0;
            } else if (d < -band) {
                signal = -1.0;
            }
        }
        sums_.remove(returns_.oldest());
        returns_.push(r);
        sums_.add(r);
        run_.push(r);
        if (++pushes_since_anchor_ >= period_) {
            sums_.rebuild(returns_);
            pushes_since_anchor_ = 0;
        }
        const double result = signal;
        last_ = result;
        return result;
    }
    std::size_t warmup_period() const override { return period_ + 2; }

private:
    JumpIndicator(std::size_t period, double threshold) : returns_(period), period_(period), threshold_(threshold) {}

    core::LogReturnStep log_return_;
    std::optional<double> last_;
    core::Ring<double> returns_;
    core::AnchoredSums sums_;
    core::EqualRun run_;
    std::size_t pushes_since_anchor_ = 0;
    std::size_t period_;
    double threshold_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_JumpIndicator(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "JumpIndicator"));
    OSTREL_TRY(threshold, param_f64(p, 1, "JumpIndicator"));
    return box_kind<kinds::JumpIndicator>("JumpIndicator", kinds::JumpIndicator::make(period, threshold));
}

}  // namespace ostrel::catalogue
