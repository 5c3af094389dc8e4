#include "catalogue/params.hpp"
#include "indicators/core/range_volatility.hpp"

namespace ostrel::kinds {

// Rogers-Satchell volatility: per bar ln(H/C) ln(H/O) + ln(L/C) ln(L/O).
class RogersSatchellVolatility final : public core::RangeVolatilityKind<RogersSatchellVolatility> {
public:
    using RangeVolatilityKind::RangeVolatilityKind;
    static double term(const Candle& c) { return core::rogers_satchell_term(c); }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RogersSatchellVolatility(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "RogersSatchellVolatility"));
    OSTREL_TRY(annualization, param_usize(p, 1, "RogersSatchellVolatility"));
    return box_kind<kinds::RogersSatchellVolatility>("RogersSatchellVolatility",
                                                     core::RangeVolatility::make(period, annualization));
}

}  // namespace ostrel::catalogue
