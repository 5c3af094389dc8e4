#include "catalogue/params.hpp"
#include "indicators/core/fib_levels.hpp"

namespace ostrel::kinds {

// Retracement levels of the last swing, from the newer pivot back to the older one.
class FibRetracement final : public core::SwingLevels<FibRetracement, 2, 2, 7> {
public:
    static constexpr std::array<std::string_view, 7> NAMES = core::FIB_RETRACEMENT_NAMES;
    std::array<double, 7> levels(const core::SwingTracker& t) const {
        return core::fib_retracement_levels(t.pivot(0).price, t.pivot(1).price);
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FibRetracement(std::span<const double>) { return box_kind(kinds::FibRetracement{}); }

}  // namespace ostrel::catalogue
