#include <cmath>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/sorted_window.hpp"

namespace ostrel::kinds {

// Bomar bands: the window mean of the close plus and minus |mean| times the quantile
// at `coverage` of the relative deviations |x - mean| / |mean|. Reads only the close.
class BomarBands final : public Indicator {
public:
    static Expected<BomarBands, IndicatorError> make(std::size_t period, double coverage) {
        if (auto e = check_period(period)) return *e;
        if (!std::isfinite(coverage) || !(coverage > 0.0) || coverage > 1.0)
            return IndicatorError::invalid_parameter("bomar bands coverage must be a finite value in (0.0, 1.0]");
        return BomarBands(period, coverage);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (std::isfinite(f.candle.close)) run_.push(f.candle.close);
        if (!core::push_finite(window_, f.candle.close)) return std::nullopt;
        deviations_.reserve(period_);  // once, when the window first fills
        double sum = -0.0;
        window_.arrivals().for_each([&](double v) { sum = sum + v; });
        const double mean = sum / static_cast<double>(period_);
        const double scale = std::fabs(mean);
        // Equal closes do not deviate from their mean, however it rounds.
        if (mean == 0.0 || run_.covers(period_)) {
            deviations_.assign(period_, 0.0);
        } else {
            // The absolute deviations come out ascending; dividing by |mean| keeps the order.
            core::sorted_abs_deviations(window_.sorted(), mean, deviations_);
            for (double& d : deviations_) d = d / scale;
        }
        double half = scale * core::interpolated_quantile(deviations_, coverage_);
        outputs_.store({mean + half, mean, mean - half});
        return mean + half;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return period_; }

private:
    BomarBands(std::size_t period, double coverage)
        : window_(period), period_(period), coverage_(coverage), outputs_({"upper", "middle", "lower"}) {}

    core::SortedWindow window_;
    core::EqualRun run_;
    std::vector<double> deviations_;  // scratch, rebuilt on each value
    std::size_t period_;
    double coverage_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_BomarBands(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "BomarBands"));
    OSTREL_TRY(coverage, param_f64(p, 1, "BomarBands"));
    return box_kind<kinds::BomarBands>("BomarBands", kinds::BomarBands::make(period, coverage));
}

}  // namespace ostrel::catalogue
