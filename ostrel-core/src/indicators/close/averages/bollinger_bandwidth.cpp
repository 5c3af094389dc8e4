#include "catalogue/params.hpp"
#include "indicators/core/bollinger_ratio_kind.hpp"

namespace ostrel::kinds {

// Width of the Bollinger bands relative to their middle; 0 when the middle is 0.
class BollingerBandwidth final : public core::BollingerRatioKind<BollingerBandwidth> {
public:
    using BollingerRatioKind::BollingerRatioKind;
    static double value(const core::BollingerOut& r, double) {
        return r.middle == 0.0 ? 0.0 : (r.upper - r.lower) / r.middle;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_BollingerBandwidth(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "BollingerBandwidth"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "BollingerBandwidth"));
    return box_kind<kinds::BollingerBandwidth>("BollingerBandwidth", kinds::BollingerBandwidth::make(period, multiplier));
}

}  // namespace ostrel::catalogue
