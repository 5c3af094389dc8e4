#include "catalogue/params.hpp"
#include "indicators/core/dominant_cycle_kind.hpp"

namespace ostrel::kinds {

// The smoothed dominant cycle period measured by the Hilbert-transform chain.
class HilbertDominantCycle final : public core::SmoothPeriodKind<HilbertDominantCycle> {
public:
    static double value(double smooth_period) { return smooth_period; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HilbertDominantCycle(std::span<const double>) { return box_kind(kinds::HilbertDominantCycle{}); }

}  // namespace ostrel::catalogue
