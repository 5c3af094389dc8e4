#include "catalogue/params.hpp"
#include "indicators/core/td_countdown_kind.hpp"

namespace ostrel::kinds {

// DeMark combo count: the setup followed by the stricter combo countdown; yields
// the countdown of the active direction (+n buying, -n selling, 0 before a setup).
class TdCombo final : public core::TdCountdownKind {
public:
    using TdCountdownKind::TdCountdownKind;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TdCombo(std::span<const double> p) {
    OSTREL_TRY(setup_lookback, param_usize(p, 0, "TdCombo"));
    OSTREL_TRY(setup_length, param_usize(p, 1, "TdCombo"));
    OSTREL_TRY(countdown_lookback, param_usize(p, 2, "TdCombo"));
    OSTREL_TRY(countdown_length, param_usize(p, 3, "TdCombo"));
    return box_kind<kinds::TdCombo>(
        "TdCombo", core::TdSequentialCore::make(setup_lookback, setup_length, countdown_lookback, countdown_length,
                                                core::TdSequentialCore::Rule::Combo));
}

}  // namespace ostrel::catalogue
