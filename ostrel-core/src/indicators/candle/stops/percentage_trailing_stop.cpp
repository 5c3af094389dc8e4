#include <cmath>

#include "catalogue/params.hpp"

namespace ostrel::kinds {

// A stop `percent` of the close away, trailing the close and flipping side when the
// close crosses it. Reads the close alone.
class PercentageTrailingStop final : public Indicator {
public:
    static Expected<PercentageTrailingStop, IndicatorError> make(double percent) {
        if (!std::isfinite(percent) || !(percent > 0.0)) return IndicatorError::non_positive_multiplier();
        return PercentageTrailingStop(percent);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const double c = f.candle.close;
        if (!std::isfinite(c)) return std::nullopt;
        const double d = (std::fabs(c) * percent_) / 100.0;
        if (!stop_) {
            stop_ = c - d;
        } else if (is_long_) {
            if (c < *stop_) {
                is_long_ = false;
                stop_ = c + d;
            } else if (c - d > *stop_) {
                stop_ = c - d;
            }
        } else {
            if (c > *stop_) {
                is_long_ = true;
                stop_ = c - d;
            } else if (c + d < *stop_) {
                stop_ = c + d;
            }
        }
        return stop_;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    explicit PercentageTrailingStop(double percent) : percent_(percent) {}

    std::optional<double> stop_;
    double percent_;
    bool is_long_ = true;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_PercentageTrailingStop(std::span<const double> p) {
    OSTREL_TRY(percent, param_f64(p, 0, "PercentageTrailingStop"));
    return box_kind<kinds::PercentageTrailingStop>("PercentageTrailingStop",
                                                    kinds::PercentageTrailingStop::make(percent));
}

}  // namespace ostrel::catalogue
