#include <algorithm>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/min_max.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::kinds {

// Trend intensity index: the share of positive deviations of the close from its
// average over the last `deviation_period` deviations. Running sums, never re-summed;
// when every close behind the deviations equals its average (period +
// deviation_period - 1 equal closes) the deviations are 0 and the value is 50. Both
// sums are of magnitudes: a sum is read not below 0, and exactly 0 when no deviation
// of its sign is left in the window, whatever residue it keeps.
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
                --ups_;
            } else if (d0 < 0.0) {
                sum_down_ = sum_down_ + d0;
                --downs_;
            }
        }
        const double d = close - *m;
        deviations_.push(d);
        if (d > 0.0) {
            sum_up_ = sum_up_ + d;
            ++ups_;
        } else if (d < 0.0) {
            sum_down_ = sum_down_ - d;
            ++downs_;
        }
        if (!deviations_.full()) return std::nullopt;
        if (closes_.covers(sma_.period() + deviations_.capacity() - 1)) return 50.0;
        const double up = ups_ == 0 ? 0.0 : core::not_below_zero(sum_up_);
        const double down = downs_ == 0 ? 0.0 : core::not_below_zero(sum_down_);
        const double total = up + down;
        // A window of deviations above the average alone gives 100, not a share
        // rounded below it.
        if (total > 0.0) return down == 0.0 ? 100.0 : std::clamp(up * 100.0 / total, 0.0, 100.0);
        return 50.0;
    }
    std::size_t warmup_period() const override { return sma_.period() + deviations_.capacity() - 1; }

private:
    Tii(core::Sma sma, std::size_t deviation_period) : deviations_(deviation_period), sma_(std::move(sma)) {}

    core::Ring<double> deviations_;
    core::Sma sma_;
    double sum_up_ = 0.0;
    double sum_down_ = 0.0;
    std::size_t ups_ = 0;    // deviations above 0 in the window
    std::size_t downs_ = 0;  // deviations below 0 in the window
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
