#include "catalogue/params.hpp"
#include "indicators/core/close_lag_kind.hpp"

namespace ostrel::kinds {

// Ratio of the close to the close `period` bars back, times 100 (0 for a zero base).
class Rocr100 final : public core::CloseLagKind<Rocr100> {
public:
    using CloseLagKind::CloseLagKind;
    static double value(double close, double old) { return old == 0.0 ? 0.0 : (close / old) * 100.0; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Rocr100(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Rocr100"));
    return box_kind<kinds::Rocr100>("Rocr100", core::LagWindow::make(period));
}

}  // namespace ostrel::catalogue
