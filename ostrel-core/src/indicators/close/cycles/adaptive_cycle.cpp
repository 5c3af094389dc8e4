#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/dominant_cycle_kind.hpp"

namespace ostrel::kinds {

// Half the smoothed dominant cycle period, rounded and kept within [3, 25]: a
// look-back length that adapts to the measured cycle.
class AdaptiveCycle final : public core::SmoothPeriodKind<AdaptiveCycle> {
public:
    static double value(double smooth_period) {
        double v = std::round(smooth_period / 2.0);  // halves away from zero
        if (v < 3.0) v = 3.0;
        if (v > 25.0) v = 25.0;
        return v;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AdaptiveCycle(std::span<const double>) { return box_kind(kinds::AdaptiveCycle{}); }

}  // namespace ostrel::catalogue
