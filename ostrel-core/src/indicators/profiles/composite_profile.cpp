#include <cstddef>
#include <utility>

#include "catalogue/params.hpp"
#include "indicators/core/profile_binning.hpp"

namespace ostrel::kinds {

// Point of control and value area of the last `period` candles' volume profile, all
// three reported as bin centres: "poc", "vah" (top bin of the area), "val" (bottom bin).
class CompositeProfile final : public core::ValueAreaKind<CompositeProfile> {
public:
    static Expected<CompositeProfile, IndicatorError> make(std::size_t period, std::size_t bins,
                                                           double value_area_pct) {
        if (period == 0 || bins == 0) return IndicatorError::zero_period();
        if (!core::ValueAreaWindow::fraction_ok(value_area_pct))
            return IndicatorError::invalid_parameter("value_area_pct must be in (0, 1]");
        OSTREL_TRY(window, core::ValueAreaWindow::make(period, bins, value_area_pct));
        return CompositeProfile(std::move(window));
    }
    static std::pair<double, double> bounds(const core::ProfileRange& r, const core::ValueAreaWindow::Area& a) {
        return {r.centre(a.hi), r.centre(a.lo)};
    }

private:
    explicit CompositeProfile(core::ValueAreaWindow window) : ValueAreaKind(std::move(window)) {}
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
