#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/dominant_cycle_kind.hpp"

namespace ostrel::kinds {

// Sine of the dominant-cycle phase.
class SineWave final : public core::DcPhaseKind<SineWave> {
public:
    static double value(double phase) { return std::sin(phase * 0.017453292519943295); }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SineWave(std::span<const double>) { return box_kind(kinds::SineWave{}); }

}  // namespace ostrel::catalogue
