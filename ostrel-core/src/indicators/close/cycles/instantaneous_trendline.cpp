#include <cmath>

#include "catalogue/params.hpp"

namespace ostrel::kinds {

// Instantaneous trendline: a four-tap average over the first six closes, then a
// two-pole recursive filter with alpha = 2 / (period + 1).
class InstantaneousTrendline final : public Indicator {
public:
    static Expected<InstantaneousTrendline, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return InstantaneousTrendline(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        ++count_;
        double it;
        if (count_ <= 6) {
            const double a = x1_.value_or(x);
            const double b = x2_.value_or(x);
            it = (x + 2.0 * a + b) / 4.0;
        } else {
            const double a = alpha_;
            const double a2 = a * a;
            const double g = 1.0 - a;
            it = (a - a2 / 4.0) * x + (a2 / 2.0) * *x1_ - (a - 0.75 * a2) * *x2_ + 2.0 * g * it1_ - (g * g) * it2_;
        }
        it2_ = it1_;
        it1_ = it;
        x2_ = x1_;
        x1_ = x;
        return it;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    explicit InstantaneousTrendline(std::size_t period) : alpha_(2.0 / (static_cast<double>(period) + 1.0)) {}

    double alpha_;
    std::size_t count_ = 0;
    std::optional<double> x1_, x2_;
    double it1_ = 0.0, it2_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_InstantaneousTrendline(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "InstantaneousTrendline"));
    return box_kind<kinds::InstantaneousTrendline>("InstantaneousTrendline",
                                                   kinds::InstantaneousTrendline::make(period));
}

}  // namespace ostrel::catalogue
