#include "catalogue/params.hpp"
#include "indicators/core/candle_range_kind.hpp"

namespace ostrel::kinds {

// Balance of power: the candle's body over its range (0 for a zero range).
class BalanceOfPower final : public core::CandleRangeKind<BalanceOfPower> {
public:
    static double value(const Candle& c, double range) { return (c.close - c.open) / range; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_BalanceOfPower(std::span<const double>) { return box_kind(kinds::BalanceOfPower{}); }

}  // namespace ostrel::catalogue
