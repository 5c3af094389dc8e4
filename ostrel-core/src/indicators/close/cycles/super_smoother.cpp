#include "catalogue/params.hpp"
#include "indicators/core/cycle_filters.hpp"

namespace ostrel::kinds {

// Two-pole super smoother of the close over `period` bars.
class SuperSmoother final : public core::CloseFilterKind<core::SuperSmoother> {
public:
    static Expected<SuperSmoother, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return SuperSmoother(period);
    }

private:
    explicit SuperSmoother(std::size_t period)
        : CloseFilterKind(core::SuperSmoother::over(static_cast<double>(period))) {}
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SuperSmoother(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "SuperSmoother"));
    return box_kind<kinds::SuperSmoother>("SuperSmoother", kinds::SuperSmoother::make(period));
}

}  // namespace ostrel::catalogue
