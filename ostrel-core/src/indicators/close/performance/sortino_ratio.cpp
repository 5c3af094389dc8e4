#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/rolling_sums.hpp"

namespace ostrel::kinds {

// Mean return less the target over the downside deviation (shortfalls below the
// target, squared, averaged over the whole window).
class SortinoRatio final : public Indicator {
public:
    static Expected<SortinoRatio, IndicatorError> make(std::size_t period, double target) {
        if (period < 2) return IndicatorError::invalid_period("sortino ratio needs period >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return SortinoRatio(*core::RollingSums::make(period), target);
    }
    // Aligned: the speed of the short shortfall loop depends on where it lands
    // against the instruction fetch lines, which should not follow the code that
    // happens to precede this function.
    [[gnu::aligned(64)]] std::optional<double> update(const FeedSnapshot& f) override {
        double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        sums_.push(x);
        run_.push(x);
        if (!sums_.window.full()) return std::nullopt;
        // Equal returns: the mean shortfall is the downside deviation itself, so -1
        // below the target (0 at or above it), not a ratio of rounded sums.
        if (run_.covers(sums_.period)) return x < target_ ? -1.0 : 0.0;
        const double n = static_cast<double>(sums_.period);
        const double mean = sums_.sum / n;
        double downside = 0.0;
        sums_.window.for_each([&](double v) {
            double d = v - target_;
            if (d < 0.0) downside = downside + d * d;
        });
        downside = downside / n;
        if (downside == 0.0) return 0.0;
        return (mean - target_) / std::sqrt(downside);
    }
    std::size_t warmup_period() const override { return sums_.period; }

private:
    SortinoRatio(core::RollingSums s, double target) : sums_(std::move(s)), target_(target) {}
    core::RollingSums sums_;
    core::EqualRun run_;
    double target_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SortinoRatio(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "SortinoRatio"));
    OSTREL_TRY(target, param_f64(p, 1, "SortinoRatio"));
    return box_kind<kinds::SortinoRatio>("SortinoRatio", kinds::SortinoRatio::make(period, target));
}

}  // namespace ostrel::catalogue
