#include "catalogue/params.hpp"
#include "indicators/core/harmonic_ratios.hpp"

namespace ostrel::kinds {

// X-A-B-C-D formation with B at 0.74 to 0.84 of XA and D beyond X (1.27 to 1.618 of XA).
class Butterfly final : public core::SwingPattern<Butterfly, 5> {
public:
    double test(const core::SwingPivots<5>& p) const { return ratios_.code(p); }

private:
    core::XabcdRatios ratios_{{0.74, 0.84}, {0.382, 0.886}, {1.618, 2.618}, {1.27, 1.618}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Butterfly(std::span<const double>) { return box_kind(kinds::Butterfly{}); }

}  // namespace ostrel::catalogue
