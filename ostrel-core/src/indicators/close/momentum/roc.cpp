#include "catalogue/params.hpp"
#include "indicators/core/close_lag_kind.hpp"
#include "indicators/core/roc.hpp"

namespace ostrel::kinds {

// Rate of change in percent against the close `period` bars back (0 for a zero base).
class Roc final : public core::CloseLagKind<Roc> {
public:
    using CloseLagKind::CloseLagKind;
    static double value(double close, double old) { return core::roc(close, old); }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Roc(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Roc"));
    return box_kind<kinds::Roc>("Roc", core::LagWindow::make(period));
}

}  // namespace ostrel::catalogue
