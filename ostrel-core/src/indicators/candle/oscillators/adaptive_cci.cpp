#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// CCI about an adaptive centre: the plain mean of the first full window, then a
// moving average whose speed follows the efficiency ratio of the window.
class AdaptiveCci final : public Indicator {
public:
    static Expected<AdaptiveCci, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        if (period == 1) return IndicatorError::invalid_period("adaptive CCI needs period >= 2");
        return AdaptiveCci(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        double tp = ((c->high + c->low) + c->close) / 3.0;
        window_.push(tp);
        equal_.push(tp);
        if (!window_.full()) return std::nullopt;
        const double n = static_cast<double>(period_);
        double first = window_.oldest();
        double volatility = 0.0;
        for (std::size_t i = 1; i < period_; ++i) volatility = volatility + std::fabs(window_[i] - window_[i - 1]);
        double sc = 0.004162330905306971;  // (2/31) squared
        if (volatility > 0.0) {
            double er = std::fabs(tp - first) / volatility;
            if (er > 1.0) er = 1.0;
            double s = er * 0.6021505376344085 + 0.06451612903225806;
            sc = s * s;
        }
        if (!centre_) {
            double sum = 0.0;
            window_.for_each([&](double x) { sum = sum + x; });
            centre_ = sum / n;
        } else {
            centre_ = *centre_ + sc * (tp - *centre_);
        }
        // A window of equal entries deviates by nothing: 0, also when the centre
        // still trails an earlier movement (the centre keeps its recurrence).
        if (equal_.covers(period_)) return 0.0;
        const double centre = *centre_;
        double dev = 0.0;
        window_.for_each([&](double x) { dev = dev + std::fabs(x - centre); });
        double md = dev / n;
        if (md > 0.0) return (tp - centre) / (md * 0.015);
        return 0.0;
    }
    std::size_t warmup_period() const override { return period_; }

private:
    explicit AdaptiveCci(std::size_t period) : window_(period), period_(period) {}

    std::optional<double> centre_;
    core::Ring<double> window_;
    std::size_t period_;
    core::EqualRun equal_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AdaptiveCci(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "AdaptiveCci"));
    return box_kind<kinds::AdaptiveCci>("AdaptiveCci", kinds::AdaptiveCci::make(period));
}

}  // namespace ostrel::catalogue
