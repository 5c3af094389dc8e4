#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/true_range.hpp"

namespace ostrel::kinds {

// Volatility ratio: the bar's true range against the exponential average of the true
// range as it stood before the bar; 0 while that average is not above 0.
class VolatilityRatio final : public Indicator {
public:
    static Expected<VolatilityRatio, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return VolatilityRatio(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (!prev_close_) {
            prev_close_ = c->close;
            return std::nullopt;
        }
        double tr = core::true_range(c->high, c->low, *prev_close_);
        prev_close_ = c->close;
        if (!average_) {
            seed_sum_ = seed_sum_ + tr;
            if (++seed_count_ == period_) average_ = seed_sum_ / static_cast<double>(seed_count_);
            return std::nullopt;
        }
        double prev = *average_;
        double ratio = tr / prev;
        average_ = tr * alpha_ + prev * (1.0 - alpha_);
        return prev > 0.0 ? ratio : 0.0;
    }
    std::size_t warmup_period() const override { return period_ + 2; }

private:
    explicit VolatilityRatio(std::size_t period)
        : period_(period), alpha_(2.0 / (static_cast<double>(period) + 1.0)) {}

    std::optional<double> prev_close_;
    std::optional<double> average_;
    std::size_t period_;
    double alpha_;
    double seed_sum_ = 0.0;
    std::size_t seed_count_ = 0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_VolatilityRatio(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "VolatilityRatio"));
    return box_kind<kinds::VolatilityRatio>("VolatilityRatio", kinds::VolatilityRatio::make(period));
}

}  // namespace ostrel::catalogue
