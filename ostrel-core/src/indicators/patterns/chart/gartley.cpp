#include "catalogue/params.hpp"
#include "indicators/core/harmonic_ratios.hpp"

namespace ostrel::kinds {

// X-A-B-C-D formation with B retracing 0.55 to 0.7 of XA and D at 0.74 to 0.84 of XA.
class Gartley final : public core::SwingPattern<Gartley, 5> {
public:
    double test(const core::SwingPivots<5>& p) const { return ratios_.code(p); }

private:
    core::XabcdRatios ratios_{{0.55, 0.7}, {0.382, 0.886}, {1.13, 1.618}, {0.74, 0.84}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Gartley(std::span<const double>) { return box_kind(kinds::Gartley{}); }

}  // namespace ostrel::catalogue
