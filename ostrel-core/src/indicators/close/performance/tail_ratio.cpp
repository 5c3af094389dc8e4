#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/sorted_window.hpp"

namespace ostrel::kinds {

// 95th percentile of the window's returns over the magnitude of its 5th percentile.
class TailRatio final : public Indicator {
public:
    static Expected<TailRatio, IndicatorError> make(std::size_t period) {
        if (period < 2) return IndicatorError::invalid_period("tail ratio needs period >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return TailRatio(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!core::push_finite(window_, f.candle.close)) return std::nullopt;
        double q95 = core::interpolated_quantile(window_.sorted(), 0.95);
        double q05 = core::interpolated_quantile(window_.sorted(), 0.05);
        if (q05 == 0.0) return 0.0;
        return q95 / std::fabs(q05);
    }
    std::size_t warmup_period() const override { return window_.period(); }

private:
    explicit TailRatio(std::size_t period) : window_(period) {}
    core::SortedWindow window_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TailRatio(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "TailRatio"));
    return box_kind<kinds::TailRatio>("TailRatio", kinds::TailRatio::make(period));
}

}  // namespace ostrel::catalogue
