#include <algorithm>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::kinds {

// Trend intensity index: the share of positive deviations of the close from its
// average over the last `deviation_period` deviations. Running sums, never re-summed;
// when every close behind the deviations equals its average (period +
// deviation_period - 1 equal closes) the deviations are 0 and the value is 50.
class Tii final : public Indicator {
public:
    static Expected<Tii, IndicatorError> make(std::size_t period, std::size_t deviation_period) {
        if (period == 0 || deviation_period == 0) return IndicatorError::zero_period();
        OSTREL_TRY(sma, core::Sma::make(period));
        // The deviation window is reserved in full; refuse what no window may hold.
        if (deviation_period > MAX_PERIOD) return IndicatorError::too_long();
        return Tii(std::move(sma), deviation_period);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;  // the average takes nothing either
        closes_.push(close);
        const auto m = sma_.step(close);
        if (!m) return std::nullopt;
        if (deviations_.full()) {
            const double d0 = deviations_.oldest();
            deviations_.pop_oldest();
            if (d0 > 0.0) {
                sum_up_ = sum_up_ - d0;
            } else if (d0 < 0.0) {
                sum_down_ = sum_down_ + d0;
            }
        }
        const double d = close - *m;
        deviations_.push(d);
        if (d > 0.0) {
            sum_up_ = sum_up_ + d;
        } else if (d < 0.0) {
            sum_down_ = sum_down_ - d;
        }
        if (!deviations_.full()) return std::nullopt;
        if (closes_.covers(sma_.period() + deviations_.capacity() - 1)) return 50.0;
        const double total = sum_up_ + sum_down_;
        if (total > 0.0) return std::clamp(sum_up_ * 100.0 / total, 0.0, 100.0);
        return 50.0;
    }
    std::size_t warmup_period() const override { return sma_.period() + deviations_.capacity() - 1; }

private:
    Tii(core::Sma sma, std::size_t deviation_period) : deviations_(deviation_period), sma_(std::move(sma)) {}

    core::Ring<double> deviations_;
    core::Sma sma_;
    double sum_up_ = 0.0;
    double sum_down_ = 0.0;
    core::EqualRun closes_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Tii(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Tii"));
    OSTREL_TRY(deviation_period, param_usize(p, 1, "Tii"));
    return box_kind<kinds::Tii>("Tii", kinds::Tii::make(period, deviation_period));
}

}  // namespace ostrel::catalogue
