#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// A candle with a body of at least half its range whose range is strictly longer than the
// mean range of the five valid candles before it; the sign is the body's direction.
class LongLine final : public core::RangeAgainstRecent<LongLine> {
public:
    bool range_qualifies(double range, double mean) const { return range > mean; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_LongLine(std::span<const double>) { return box_kind(kinds::LongLine{}); }

}  // namespace ostrel::catalogue
