#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/lin_reg_channel.hpp"

namespace ostrel::kinds {

// Standard-error bands of the close: the fitted line at the newest point plus and
// minus a multiple of the standard error of the estimate, sqrt(ssr / (n - 2)). Reads
// only the close.
class StandardErrorBands final : public core::RegressionBandsKind<StandardErrorBands> {
public:
    using RegressionBandsKind::RegressionBandsKind;
    static Expected<core::RegressionChannel, IndicatorError> make(std::size_t period, double multiplier) {
        return core::RegressionChannel::make(period, multiplier, 3, "standard error bands need period >= 3");
    }
    static double deviation(double ssr, std::size_t period) {
        return std::sqrt(ssr / (static_cast<double>(period) - 2.0));
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_StandardErrorBands(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "StandardErrorBands"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "StandardErrorBands"));
    return box_kind<kinds::StandardErrorBands>("StandardErrorBands",
                                               kinds::StandardErrorBands::make(period, multiplier));
}

}  // namespace ostrel::catalogue
