#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/candle_range_kind.hpp"

namespace ostrel::kinds {

// Body as a fraction of the range (not a percentage); 0 without range.
class BodySizePct final : public core::CandleRangeKind<BodySizePct> {
public:
    static double value(const Candle& c, double range) { return std::fabs(c.close - c.open) / range; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_BodySizePct(std::span<const double>) { return box_kind(kinds::BodySizePct{}); }

}  // namespace ostrel::catalogue
