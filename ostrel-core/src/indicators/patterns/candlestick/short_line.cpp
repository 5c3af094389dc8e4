#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A candle with a body of at least half its range whose range is strictly shorter than the
// mean range of the five valid candles before it; the sign is the body's direction.
class ShortLine final : public core::RangeAgainstRecent<ShortLine> {
public:
    bool range_qualifies(double range, double mean) const { return range < mean; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ShortLine(std::span<const double>) { return box_kind(kinds::ShortLine{}); }

}  // namespace ostrel::catalogue
