#include "catalogue/params.hpp"
#include "indicators/core/close_lag_kind.hpp"

namespace ostrel::kinds {

// Rate of change as a fraction of the close `period` bars back (0 for a zero base).
class Rocp final : public core::CloseLagKind<Rocp> {
public:
    using CloseLagKind::CloseLagKind;
    static double value(double close, double old) { return old == 0.0 ? 0.0 : (close - old) / old; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Rocp(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Rocp"));
    return box_kind<kinds::Rocp>("Rocp", core::LagWindow::make(period));
}

}  // namespace ostrel::catalogue
