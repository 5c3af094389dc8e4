#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Mean return of the window in units of its average loss, from running sums.
class Expectancy final : public Indicator {
public:
    static Expected<Expectancy, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Expectancy(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        if (window_.full()) {
            double o = window_.oldest();
            sum_ = sum_ - o;
            if (o < 0.0) {
                loss_sum_ = loss_sum_ - -o;
                --losses_;
            }
        }
        window_.push(x);
        sum_ = sum_ + x;
        if (x < 0.0) {
            loss_sum_ = loss_sum_ + -x;
            ++losses_;
        }
        if (!window_.full()) return std::nullopt;
        if (losses_ == 0) return 0.0;
        return (sum_ / static_cast<double>(period_)) / (loss_sum_ / static_cast<double>(losses_));
    }
    std::size_t warmup_period() const override { return period_; }

private:
    explicit Expectancy(std::size_t period) : window_(period), period_(period) {}
    core::Ring<double> window_;
    std::size_t period_;
    double sum_ = 0.0;
    double loss_sum_ = 0.0;
    std::size_t losses_ = 0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Expectancy(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Expectancy"));
    return box_kind<kinds::Expectancy>("Expectancy", kinds::Expectancy::make(period));
}

}  // namespace ostrel::catalogue
