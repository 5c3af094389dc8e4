#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/lin_reg_channel.hpp"

namespace ostrel::kinds {

// Linear-regression channel of the close: the fitted line at the newest point plus
// and minus a multiple of the residual standard deviation (divided by n). Reads only
// the close.
class LinRegChannel final : public core::RegressionBandsKind<LinRegChannel> {
public:
    using RegressionBandsKind::RegressionBandsKind;
    static Expected<core::RegressionChannel, IndicatorError> make(std::size_t period, double multiplier) {
        return core::RegressionChannel::make(period, multiplier, 2, "linear regression channel needs period >= 2");
    }
    static double deviation(double ssr, std::size_t period) { return std::sqrt(ssr / static_cast<double>(period)); }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_LinRegChannel(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "LinRegChannel"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "LinRegChannel"));
    return box_kind<kinds::LinRegChannel>("LinRegChannel", kinds::LinRegChannel::make(period, multiplier));
}

}  // namespace ostrel::catalogue
