#include <cmath>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/core/cycle_filters.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Dominant cycle from the autocorrelation periodogram of the roofing-filtered
// close: the power-weighted mean of the periods whose smoothed power is at least
// half the running maximum.
class AutocorrelationPeriodogram final : public Indicator {
public:
    static Expected<AutocorrelationPeriodogram, IndicatorError> make(std::size_t min_period, std::size_t max_period) {
        if (min_period == 0 || max_period == 0) return IndicatorError::zero_period();
        if (min_period < 4 || max_period <= min_period)
            return IndicatorError::invalid_period("autocorrelation periodogram needs AvgLength < min_period < max_period");
        if (max_period <= 10) return IndicatorError::invalid_period("lp_period must be strictly less than hp_period");
        // The windows grow with max_period: refuse a length beyond the largest window.
        if (max_period > MAX_PERIOD) return IndicatorError::too_long();
        return AutocorrelationPeriodogram(min_period, max_period);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        const auto filt = prefilter_.step(x);
        if (!filt) return std::nullopt;
        filtered_.push(*filt);
        if (!filtered_.full()) return std::nullopt;
        if (corr_.empty()) {
            // Sized when the window first fills: a window that never fills costs none.
            corr_.assign(max_period_ + 1, 0.0);
            power_.assign(max_period_ - min_period_ + 1, 0.0);
        }

        for (std::size_t lag = 0; lag <= max_period_; ++lag) {
            double sx = 0.0, sy = 0.0, sxx = 0.0, syy = 0.0, sxy = 0.0;
            for (std::size_t j = 0; j < 3; ++j) {
                const double a = filtered_.back(j);
                const double b = filtered_.back(j + lag);
                sx = sx + a;
                sy = sy + b;
                sxx = sxx + a * a;
                syy = syy + b * b;
                sxy = sxy + a * b;
            }
            const double den = (3.0 * sxx - sx * sx) * (3.0 * syy - sy * sy);
            corr_[lag] = den > 0.0 ? (3.0 * sxy - sx * sy) / std::sqrt(den) : 0.0;
        }

        max_power_ *= 0.995;
        const std::size_t lags = max_period_ - 2;  // N = 3 .. max_period
        for (std::size_t i = 0; i < power_.size(); ++i) {
            const double p = static_cast<double>(min_period_ + i);
            double c = 0.0;
            double s = 0.0;
            for (std::size_t lag = 3; lag <= max_period_; ++lag) {
                double cs, sn;
                if (!table_.empty()) {
                    const Trig& t = table_[i * lags + (lag - 3)];
                    cs = t.cos;
                    sn = t.sin;
                } else {
                    const double angle = 6.283185307179586 * static_cast<double>(lag) / p;
                    cs = std::cos(angle);
                    sn = std::sin(angle);
                }
                c = c + corr_[lag] * cs;
                s = s + corr_[lag] * sn;
            }
            const double q = c * c + s * s;
            power_[i] = 0.2 * (q * q) + 0.8 * power_[i];
            if (power_[i] > max_power_) max_power_ = power_[i];
        }

        const double lowest = static_cast<double>(min_period_);
        if (!(max_power_ > 0.0)) return lowest;
        double spx = 0.0;
        double sp = 0.0;
        for (std::size_t i = 0; i < power_.size(); ++i) {
            const double pw = power_[i] / max_power_;
            if (pw >= 0.5) {
                spx = spx + static_cast<double>(min_period_ + i) * pw;
                sp = sp + pw;
            }
        }
        if (!(sp > 0.0)) return lowest;
        double value = spx / sp;
        if (value < lowest) value = lowest;
        if (value > static_cast<double>(max_period_)) value = static_cast<double>(max_period_);
        return value;
    }
    std::size_t warmup_period() const override { return max_period_ + 3; }

private:
    struct Trig {
        double cos;
        double sin;
    };

    AutocorrelationPeriodogram(std::size_t min_period, std::size_t max_period)
        : prefilter_(core::RoofingPrefilter::with(core::OnePoleHighpass::over(static_cast<double>(max_period)))),
          filtered_(max_period + 3),
          min_period_(min_period),
          max_period_(max_period) {
        const std::size_t lags = max_period - 2;
        const std::size_t periods = max_period - min_period + 1;
        if (lags * periods <= 65536) {
            table_.reserve(lags * periods);
            for (std::size_t i = 0; i < periods; ++i) {
                const double p = static_cast<double>(min_period + i);
                for (std::size_t lag = 3; lag <= max_period; ++lag) {
                    const double angle = 6.283185307179586 * static_cast<double>(lag) / p;
                    table_.push_back(Trig{std::cos(angle), std::sin(angle)});
                }
            }
        }
    }

    core::RoofingPrefilter prefilter_;
    core::Ring<double> filtered_;  // the last max_period + 3 filtered values
    std::vector<double> corr_;     // correlation per lag 0 .. max_period, reused (from the first value)
    std::vector<double> power_;    // smoothed power per period min_period .. max_period (from the first value)
    std::vector<Trig> table_;      // (cos, sin) of 2 pi N / p, when small enough
    double max_power_ = 0.0;
    std::size_t min_period_;
    std::size_t max_period_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AutocorrelationPeriodogram(std::span<const double> p) {
    OSTREL_TRY(min_period, param_usize(p, 0, "AutocorrelationPeriodogram"));
    OSTREL_TRY(max_period, param_usize(p, 1, "AutocorrelationPeriodogram"));
    return box_kind<kinds::AutocorrelationPeriodogram>("AutocorrelationPeriodogram",
                                                       kinds::AutocorrelationPeriodogram::make(min_period, max_period));
}

}  // namespace ostrel::catalogue
