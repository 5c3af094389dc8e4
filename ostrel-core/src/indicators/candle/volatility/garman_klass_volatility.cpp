#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/range_volatility.hpp"

namespace ostrel::kinds {

// Garman-Klass volatility: per bar ln(H/L)^2 / 2 - (2 ln 2 - 1) ln(C/O)^2.
class GarmanKlassVolatility final : public core::RangeVolatilityKind<GarmanKlassVolatility> {
public:
    using RangeVolatilityKind::RangeVolatilityKind;
    static double term(const Candle& c) {
        double hl = std::log(c.high / c.low);
        double co = std::log(c.close / c.open);
        return hl * (hl * 0.5) + co * (co * -0.3862943611198906);
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_GarmanKlassVolatility(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "GarmanKlassVolatility"));
    OSTREL_TRY(annualization, param_usize(p, 1, "GarmanKlassVolatility"));
    return box_kind<kinds::GarmanKlassVolatility>("GarmanKlassVolatility",
                                                  core::RangeVolatility::make(period, annualization));
}

}  // namespace ostrel::catalogue
