#include <cmath>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/core/sorted_window.hpp"

namespace ostrel::kinds {

// Rolling median of the close with bands at a multiple of the median absolute
// deviation (no scale factor). Reads the close only; a non-finite close is ignored.
class MedianChannel final : public Indicator {
public:
    static Expected<MedianChannel, IndicatorError> make(std::size_t period, double multiplier) {
        if (auto e = check_period(period)) return *e;
        if (!std::isfinite(multiplier) || !(multiplier > 0.0)) return IndicatorError::non_positive_multiplier();
        return MedianChannel(period, multiplier);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!core::push_finite(window_, f.candle.close)) return std::nullopt;
        deviations_.reserve(window_.period());  // once, when the window first fills
        double median = core::interpolated_quantile(window_.sorted(), 0.5);
        core::sorted_abs_deviations(window_.sorted(), median, deviations_);
        double width = core::interpolated_quantile(deviations_, 0.5) * multiplier_;
        outputs_.store({median + width, median, median - width});
        return median + width;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return window_.period(); }

private:
    MedianChannel(std::size_t period, double multiplier)
        : window_(period), multiplier_(multiplier), outputs_({"upper", "middle", "lower"}) {}

    core::SortedWindow window_;
    std::vector<double> deviations_;
    double multiplier_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MedianChannel(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "MedianChannel"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "MedianChannel"));
    return box_kind<kinds::MedianChannel>("MedianChannel", kinds::MedianChannel::make(period, multiplier));
}

}  // namespace ostrel::catalogue
