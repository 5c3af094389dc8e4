#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/fib_levels.hpp"

namespace ostrel::kinds {

// Retracement levels of the largest of the last five swings (the later one of
// equal swings).
class AutoFib final : public core::SwingLevels<AutoFib, 6, 2, 7> {
public:
    static constexpr std::array<std::string_view, 7> NAMES = core::FIB_RETRACEMENT_NAMES;
    std::array<double, 7> levels(const core::SwingTracker& t) const {
        std::size_t best = 0;
        double best_size = std::fabs(t.pivot(0).price - t.pivot(1).price);
        for (std::size_t i = 1; i + 1 < t.size(); ++i) {
            const double size = std::fabs(t.pivot(i).price - t.pivot(i + 1).price);
            if (size >= best_size) {
                best = i;
                best_size = size;
            }
        }
        return core::fib_retracement_levels(t.pivot(best).price, t.pivot(best + 1).price);
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AutoFib(std::span<const double>) { return box_kind(kinds::AutoFib{}); }

}  // namespace ostrel::catalogue
