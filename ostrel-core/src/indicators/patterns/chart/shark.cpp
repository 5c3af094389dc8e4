#include "catalogue/params.hpp"
#include "indicators/core/harmonic_ratios.hpp"

namespace ostrel::kinds {

// X-A-B-C-D formation with B beyond A (1.13 to 1.618 of XA) and D at 0.886 to 1.13 of XA.
class Shark final : public core::SwingPattern<Shark, 5> {
public:
    double test(const core::SwingPivots<5>& p) const { return ratios_.code(p); }

private:
    core::XabcdRatios ratios_{{1.13, 1.618}, {1.618, 2.24}, {0.382, 0.886}, {0.886, 1.13}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Shark(std::span<const double>) { return box_kind(kinds::Shark{}); }

}  // namespace ostrel::catalogue
