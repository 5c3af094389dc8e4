#include <algorithm>
#include <cmath>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/sorted_window.hpp"

namespace ostrel::kinds {

// Profit factor times tail ratio of the window's returns. The sorted copy is kept up
// to date only while the window holds a loss; after a stretch without losses it is
// rebuilt once from the arrivals.
class CommonSenseRatio final : public Indicator {
public:
    static Expected<CommonSenseRatio, IndicatorError> make(std::size_t period) {
        if (period < 2) return IndicatorError::invalid_period("common sense ratio needs period >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return CommonSenseRatio(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        if (sorted_current_) {
            if (arrivals_.full()) sorted_.erase(sorted_.begin() + lower_bound(arrivals_.oldest()));
            else core::grow_toward(sorted_, period_);
            sorted_.insert(sorted_.begin() + lower_bound(x), x);
        }
        arrivals_.push(x);
        if (!arrivals_.full()) return std::nullopt;
        double gains = 0.0, losses = 0.0;
        arrivals_.for_each([&](double v) {
            gains = gains + (v > 0.0 ? v : 0.0);
            losses = losses + (-v > 0.0 ? -v : 0.0);
        });
        if (!(losses > 0.0)) {
            sorted_current_ = false;
            return 0.0;
        }
        if (!sorted_current_) {
            sorted_.clear();
            sorted_.reserve(period_);
            arrivals_.for_each([&](double v) { sorted_.push_back(v); });
            std::sort(sorted_.begin(), sorted_.end(), core::total_less);
            sorted_current_ = true;
        }
        double q05 = core::interpolated_quantile(sorted_, 0.05);
        if (q05 == 0.0) return 0.0;
        double q95 = core::interpolated_quantile(sorted_, 0.95);
        return (gains / losses) * (q95 / std::fabs(q05));
    }
    std::size_t warmup_period() const override { return period_; }

private:
    explicit CommonSenseRatio(std::size_t period) : arrivals_(period), period_(period) {}

    // First position of `sorted_` whose value is not below v in total order.
    std::ptrdiff_t lower_bound(double v) const {
        const auto key = core::total_order_key(v);
        auto it = std::partition_point(sorted_.begin(), sorted_.end(),
                                       [key](double e) { return core::total_order_key(e) < key; });
        return it - sorted_.begin();
    }

    core::Ring<double> arrivals_;
    std::vector<double> sorted_;
    bool sorted_current_ = true;
    std::size_t period_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_CommonSenseRatio(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "CommonSenseRatio"));
    return box_kind<kinds::CommonSenseRatio>("CommonSenseRatio", kinds::CommonSenseRatio::make(period));
}

}  // namespace ostrel::catalogue
