#include <cstddef>
#include <utility>

#include "catalogue/params.hpp"
#include "indicators/core/profile_binning.hpp"

namespace ostrel::kinds {

// Point of control and value area of the last `period` candles' volume profile:
// "poc" is the centre of the POC bin, "vah" and "val" the upper and lower edges of
// the value area.
class ValueArea final : public core::ValueAreaKind<ValueArea> {
public:
    static Expected<ValueArea, IndicatorError> make(std::size_t period, std::size_t bins,
                                                    double value_area_pct) {
        if (period == 0 || bins == 0) return IndicatorError::zero_period();
        if (!core::ValueAreaWindow::fraction_ok(value_area_pct))
            return IndicatorError::invalid_period("value_area_pct must be in (0, 1]");
        OSTREL_TRY(window, core::ValueAreaWindow::make(period, bins, value_area_pct));
        return ValueArea(std::move(window));
    }
    static std::pair<double, double> bounds(const core::ProfileRange& r, const core::ValueAreaWindow::Area& a) {
        return {r.edge(a.hi + 1), r.edge(a.lo)};
    }

private:
    explicit ValueArea(core::ValueAreaWindow window) : ValueAreaKind(std::move(window)) {}
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ValueArea(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "ValueArea"));
    OSTREL_TRY(bins, param_usize(p, 1, "ValueArea"));
    OSTREL_TRY(value_area_pct, param_f64(p, 2, "ValueArea"));
    return box_kind<kinds::ValueArea>("ValueArea", kinds::ValueArea::make(period, bins, value_area_pct));
}

}  // namespace ostrel::catalogue
