#include "catalogue/params.hpp"
#include "indicators/core/td_countdown_kind.hpp"

namespace ostrel::kinds {

// The countdown of the DeMark sequential count alone: +n buying, -n selling, 0
// before the first completed setup.
class TdCountdown final : public core::TdCountdownKind {
public:
    using TdCountdownKind::TdCountdownKind;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TdCountdown(std::span<const double> p) {
    OSTREL_TRY(setup_lookback, param_usize(p, 0, "TdCountdown"));
    OSTREL_TRY(setup_length, param_usize(p, 1, "TdCountdown"));
    OSTREL_TRY(countdown_lookback, param_usize(p, 2, "TdCountdown"));
    OSTREL_TRY(countdown_length, param_usize(p, 3, "TdCountdown"));
    return box_kind<kinds::TdCountdown>(
        "TdCountdown", core::TdSequentialCore::make(setup_lookback, setup_length, countdown_lookback,
                                                    countdown_length, core::TdSequentialCore::Rule::Sequential));
}

}  // namespace ostrel::catalogue
