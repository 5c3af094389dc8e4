#include <cmath>

#include "catalogue/params.hpp"

namespace ostrel::kinds {

// A stop on whole multiples of `step`, at least one step from the close when set,
// trailing the close and flipping side when the close crosses it. Reads the close
// alone.
class StepTrailingStop final : public Indicator {
public:
    static Expected<StepTrailingStop, IndicatorError> make(double step) {
        if (!std::isfinite(step) || !(step > 0.0)) return IndicatorError::non_positive_multiplier();
        return StepTrailingStop(step);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const double c = f.candle.close;
        if (!std::isfinite(c)) return std::nullopt;
        if (!stop_) {
            stop_ = long_level(c);
        } else if (is_long_) {
            if (c < *stop_) {
                is_long_ = false;
                stop_ = short_level(c);
            } else {
                double l = long_level(c);
                if (l > *stop_) stop_ = l;
            }
        } else {
            if (c > *stop_) {
                is_long_ = true;
                stop_ = long_level(c);
            } else {
                double s = short_level(c);
                if (s < *stop_) stop_ = s;
            }
        }
        return stop_;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    explicit StepTrailingStop(double step) : step_(step) {}

    double long_level(double c) const { return step_ * std::floor((c - step_) / step_); }
    double short_level(double c) const { return step_ * std::ceil((c + step_) / step_); }

    std::optional<double> stop_;
    double step_;
    bool is_long_ = true;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_StepTrailingStop(std::span<const double> p) {
    OSTREL_TRY(step, param_f64(p, 0, "StepTrailingStop"));
    return box_kind<kinds::StepTrailingStop>("StepTrailingStop", kinds::StepTrailingStop::make(step));
}

}  // namespace ostrel::catalogue
