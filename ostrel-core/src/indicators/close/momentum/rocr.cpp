#include "catalogue/params.hpp"
#include "indicators/core/close_lag_kind.hpp"

namespace ostrel::kinds {

// Ratio of the close to the close `period` bars back (0 for a zero base).
class Rocr final : public core::CloseLagKind<Rocr> {
public:
    using CloseLagKind::CloseLagKind;
    static double value(double close, double old) { return old == 0.0 ? 0.0 : close / old; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Rocr(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Rocr"));
    return box_kind<kinds::Rocr>("Rocr", core::LagWindow::make(period));
}

}  // namespace ostrel::catalogue
