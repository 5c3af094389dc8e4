#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/sorted_window.hpp"

namespace ostrel::kinds {

// Historical value at risk: minus the (1 - confidence) quantile of the window's
// returns, floored at 0.
class ValueAtRisk final : public Indicator {
public:
    static Expected<ValueAtRisk, IndicatorError> make(std::size_t period, double confidence) {
        if (period < 2) return IndicatorError::invalid_period("value-at-risk needs period >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        if (!std::isfinite(confidence) || !(confidence > 0.0) || !(confidence < 1.0))
            return IndicatorError::invalid_period("confidence must lie strictly between 0 and 1");
        return ValueAtRisk(period, confidence);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!core::push_finite(window_, f.candle.close)) return std::nullopt;
        double loss = -core::interpolated_quantile(window_.sorted(), 1.0 - confidence_);
        return loss > 0.0 ? loss : 0.0;
    }
    std::size_t warmup_period() const override { return window_.period(); }

private:
    ValueAtRisk(std::size_t period, double confidence) : window_(period), confidence_(confidence) {}
    core::SortedWindow window_;
    double confidence_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ValueAtRisk(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "ValueAtRisk"));
    OSTREL_TRY(confidence, param_f64(p, 1, "ValueAtRisk"));
    return box_kind<kinds::ValueAtRisk>("ValueAtRisk", kinds::ValueAtRisk::make(period, confidence));
}

}  // namespace ostrel::catalogue
