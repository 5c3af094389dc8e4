#include <cmath>
#include <span>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/core/sorted_window.hpp"

namespace ostrel::kinds {

// Median of the absolute deviations from the window median (no scale factor).
class MedianAbsoluteDeviation final : public Indicator {
public:
    static Expected<MedianAbsoluteDeviation, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return MedianAbsoluteDeviation(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!core::push_finite(window_, f.candle.close)) return std::nullopt;
        deviations_.reserve(period_);  // once, when the window first fills
        double m = median(window_.sorted());
        core::sorted_abs_deviations(window_.sorted(), m, deviations_);
        return median(deviations_);
    }
    std::size_t warmup_period() const override { return period_; }

private:
    explicit MedianAbsoluteDeviation(std::size_t period) : window_(period), period_(period) {}
    static double median(std::span<const double> s) {
        const std::size_t n = s.size();
        return (n % 2 == 1) ? s[n / 2] : midpoint(s[n / 2 - 1], s[n / 2]);
    }

    core::SortedWindow window_;
    std::vector<double> deviations_;
    std::size_t period_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MedianAbsoluteDeviation(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "MedianAbsoluteDeviation"));
    return box_kind<kinds::MedianAbsoluteDeviation>("MedianAbsoluteDeviation",
                                                    kinds::MedianAbsoluteDeviation::make(period));
}

}  // namespace ostrel::catalogue
