#include "catalogue/params.hpp"
#include "indicators/core/close_lag_kind.hpp"

namespace ostrel::kinds {

// Momentum: the close minus the close `period` bars back.
class Mom final : public core::CloseLagKind<Mom> {
public:
    using CloseLagKind::CloseLagKind;
    static double value(double close, double old) { return close - old; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Mom(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Mom"));
    return box_kind<kinds::Mom>("Mom", core::LagWindow::make(period));
}

}  // namespace ostrel::catalogue
