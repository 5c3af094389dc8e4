#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/log_return_step.hpp"
#include "indicators/core/rolling_moments.hpp"

namespace ostrel::kinds {

// Annualised sample standard deviation of the last `period` log returns, in percent.
class HistoricalVolatility final : public Indicator {
public:
    static Expected<HistoricalVolatility, IndicatorError> make(std::size_t period, std::size_t annualization) {
        if (period == 0 || annualization == 0) return IndicatorError::zero_period();
        if (period < 2) return IndicatorError::invalid_period("historical volatility period must be >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return HistoricalVolatility(*core::RollingMoments::make(period), annualization);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto ret = log_return_.step(f.candle.close);
        if (!ret) return std::nullopt;
        double r = *ret;
        if (!returns_.push(r)) return std::nullopt;
        const double v = std::sqrt(returns_.sample_variance()) * std::sqrt(static_cast<double>(annualization_)) * 100.0;
        last_ = v;
        return v;
    }
    std::size_t warmup_period() const override { return returns_.period() + 1; }

private:
    HistoricalVolatility(core::RollingMoments m, std::size_t annualization)
        : returns_(std::move(m)), annualization_(annualization) {}

    core::LogReturnStep log_return_;
    std::optional<double> last_;
    core::RollingMoments returns_;
    std::size_t annualization_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HistoricalVolatility(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "HistoricalVolatility"));
    OSTREL_TRY(annualization, param_usize(p, 1, "HistoricalVolatility"));
    return box_kind<kinds::HistoricalVolatility>("HistoricalVolatility",
                                                 kinds::HistoricalVolatility::make(period, annualization));
}

}  // namespace ostrel::catalogue
