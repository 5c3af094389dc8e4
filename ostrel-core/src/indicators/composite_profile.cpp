#include <cstddef>
#include <utility>

#include "catalogue/params.hpp"
#include "indicators/profile_binning.hpp"

namespace ostrel::kinds {

// Point of control and value area of the last `period` candles' volume profile, all
// three reported as bin centres: "poc", "vah" (top bin of the area), "val" (bottom bin).
class CompositeProfile final : public Indicator {
public:
    static Expected<CompositeProfile, IndicatorError> make(std::size_t period, std::size_t bins,
                                                           double value_area_pct) {
        if (period == 0 || bins == 0) return IndicatorError::zero_period();
        if (!core::ValueAreaWindow::fraction_ok(value_area_pct))
            return IndicatorError::invalid_parameter("value_area_pct must be in (0, 1]");
        OSTREL_TRY(window, core::ValueAreaWindow::make(period, bins, value_area_pct));
        return CompositeProfile(std::move(window));
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        auto area = window_.push(f);
        if (!area) return std::nullopt;
        const core::ProfileRange& r = area->range;
        if (r.flat) {
            outputs_.store({r.low, r.low, r.low});
            return r.low;
        }
        const double poc = r.centre(area->poc);
        outputs_.store({poc, r.centre(area->hi), r.centre(area->lo)});
        return poc;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return window_.period(); }

private:
    explicit CompositeProfile(core::ValueAreaWindow window)
        : window_(std::move(window)), outputs_({"poc", "vah", "val"}) {}

    core::ValueAreaWindow window_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_CompositeProfile(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "CompositeProfile"));
    OSTREL_TRY(bins, param_usize(p, 1, "CompositeProfile"));
    OSTREL_TRY(value_area_pct, param_f64(p, 2, "CompositeProfile"));
    return box_kind<kinds::CompositeProfile>("CompositeProfile",
                                             kinds::CompositeProfile::make(period, bins, value_area_pct));
}

}  // namespace ostrel::catalogue
