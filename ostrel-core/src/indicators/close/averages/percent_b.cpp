#include "catalogue/params.hpp"
#include "indicators/core/bollinger_ratio_kind.hpp"

namespace ostrel::kinds {

// Where the close stands between the Bollinger bands; 0.5 when they coincide.
class PercentB final : public core::BollingerRatioKind<PercentB> {
public:
    using BollingerRatioKind::BollingerRatioKind;
    static double value(const core::BollingerOut& r, double close) {
        double width = r.upper - r.lower;
        return width == 0.0 ? 0.5 : (close - r.lower) / width;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_PercentB(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "PercentB"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "PercentB"));
    return box_kind<kinds::PercentB>("PercentB", kinds::PercentB::make(period, multiplier));
}

}  // namespace ostrel::catalogue
