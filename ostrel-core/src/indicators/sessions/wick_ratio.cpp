#include "catalogue/params.hpp"
#include "indicators/core/candle_range_kind.hpp"

namespace ostrel::kinds {

// Upper wick minus lower wick as a fraction of the range, in [-1, 1]; 0 without range.
class WickRatio final : public core::CandleRangeKind<WickRatio> {
public:
    static double value(const Candle& c, double range) {
        const double upper = c.high - (c.open > c.close ? c.open : c.close);
        const double lower = (c.open < c.close ? c.open : c.close) - c.low;
        return (upper - lower) / range;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_WickRatio(std::span<const double>) { return box_kind(kinds::WickRatio{}); }

}  // namespace ostrel::catalogue
