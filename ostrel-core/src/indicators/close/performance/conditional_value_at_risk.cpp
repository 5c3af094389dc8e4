#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/sorted_window.hpp"

namespace ostrel::kinds {

// Expected shortfall: minus the mean of the k worst returns of the window,
// k = floor((1 - confidence) * n) but at least 1, floored at 0.
class ConditionalValueAtRisk final : public Indicator {
public:
    static Expected<ConditionalValueAtRisk, IndicatorError> make(std::size_t period, double confidence) {
        if (period < 2) return IndicatorError::invalid_period("conditional value-at-risk needs period >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        if (!std::isfinite(confidence) || !(confidence > 0.0) || !(confidence < 1.0))
            return IndicatorError::invalid_period("confidence must lie strictly between 0 and 1");
        return ConditionalValueAtRisk(period, confidence);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!core::push_finite(window_, f.candle.close)) return std::nullopt;
        auto s = window_.sorted();
        double sum = s[0];
        for (std::size_t i = 1; i < k_; ++i) sum = sum + s[i];
        double loss = -sum / static_cast<double>(k_);
        return loss > 0.0 ? loss : 0.0;
    }
    std::size_t warmup_period() const override { return window_.period(); }

private:
    ConditionalValueAtRisk(std::size_t period, double confidence) : window_(period) {
        // (1 - confidence) < 1, so k stays within the window.
        k_ = static_cast<std::size_t>(std::floor((1.0 - confidence) * static_cast<double>(period)));
        if (k_ == 0) k_ = 1;
    }
    core::SortedWindow window_;
    std::size_t k_ = 1;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ConditionalValueAtRisk(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "ConditionalValueAtRisk"));
    OSTREL_TRY(confidence, param_f64(p, 1, "ConditionalValueAtRisk"));
    return box_kind<kinds::ConditionalValueAtRisk>("ConditionalValueAtRisk",
                                                   kinds::ConditionalValueAtRisk::make(period, confidence));
}

}  // namespace ostrel::catalogue
