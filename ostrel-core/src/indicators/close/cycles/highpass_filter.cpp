#include "catalogue/params.hpp"
#include "indicators/core/cycle_filters.hpp"

namespace ostrel::kinds {

// Two-pole high-pass of the close: the cycle part, with the trend removed.
class HighpassFilter final : public core::CloseFilterKind<core::TwoPoleHighpass> {
public:
    static Expected<HighpassFilter, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        if (period < 2) return IndicatorError::invalid_period(core::kHighpassPeriodText);
        return HighpassFilter(period);
    }

private:
    explicit HighpassFilter(std::size_t period) : CloseFilterKind(core::TwoPoleHighpass::over(period)) {}
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HighpassFilter(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "HighpassFilter"));
    return box_kind<kinds::HighpassFilter>("HighpassFilter", kinds::HighpassFilter::make(period));
}

}  // namespace ostrel::catalogue
