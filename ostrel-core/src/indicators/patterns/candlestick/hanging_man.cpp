#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// The hammer's shape, read as bearish.
class HangingMan final : public core::CandlePattern<HangingMan, 1> {
public:
    double test(const core::CandleShapes<1>& w) const {
        const core::CandleShape& x = w[0];
        if (x.h <= x.l || x.c - x.o == 0) return core::PATTERN_NONE;
        if (x.lower_shadow() >= x.body + x.body && x.upper_shadow() <= x.body) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HangingMan(std::span<const double>) { return box_kind(kinds::HangingMan{}); }

}  // namespace ostrel::catalogue
