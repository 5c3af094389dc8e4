#include "catalogue/params.hpp"
#include "indicators/core/harmonic_ratios.hpp"

namespace ostrel::kinds {

// X-A-B-C-D formation with a shallow B (0.382 to 0.5 of XA) and D at 0.84 to 0.93 of XA.
class Bat final : public core::SwingPattern<Bat, 5> {
public:
    double test(const core::SwingPivots<5>& p) const { return ratios_.code(p); }

private:
    core::XabcdRatios ratios_{{0.382, 0.5}, {0.382, 0.886}, {1.618, 2.618}, {0.84, 0.93}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Bat(std::span<const double>) { return box_kind(kinds::Bat{}); }

}  // namespace ostrel::catalogue
