#include "catalogue/params.hpp"
#include "indicators/core/dominant_cycle_kind.hpp"

namespace ostrel::kinds {

// Phase of the dominant cycle, in degrees (never above 315).
class HtDcPhase final : public core::DcPhaseKind<HtDcPhase> {
public:
    static double value(double phase) { return phase; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HtDcPhase(std::span<const double>) { return box_kind(kinds::HtDcPhase{}); }

}  // namespace ostrel::catalogue
