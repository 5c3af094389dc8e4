#include "catalogue/params.hpp"
#include "indicators/core/harmonic_ratios.hpp"

namespace ostrel::kinds {

// X-A-B-C-D formation with a long CD leg (2.24 to 3.618 of BC) and D at 1.55 to 1.65 of XA.
class Crab final : public core::SwingPattern<Crab, 5> {
public:
    double test(const core::SwingPivots<5>& p) const { return ratios_.code(p); }

private:
    core::XabcdRatios ratios_{{0.382, 0.618}, {0.382, 0.886}, {2.24, 3.618}, {1.55, 1.65}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Crab(std::span<const double>) { return box_kind(kinds::Crab{}); }

}  // namespace ostrel::catalogue
