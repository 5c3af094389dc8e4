#include <array>

#include "catalogue/params.hpp"
#include "indicators/core/fib_levels.hpp"

namespace ostrel::kinds {

// The price where the 0.382, 0.5 and 0.618 retracements of the recent swings
// cluster most: the mean of the largest cluster of levels within 3% of one level.
class FibConfluence final : public core::SwingLevels<FibConfluence, 6, 3, 2> {
public:
    static constexpr std::array<std::string_view, 2> NAMES = {"price", "strength"};
    std::array<double, 2> levels(const core::SwingTracker& t) const {
        std::array<double, 3 * 5> level{};
        std::size_t n = 0;
        for (std::size_t i = 0; i + 1 < t.size(); ++i) {
            const double newer = t.pivot(i + 1).price;
            const double d = t.pivot(i).price - newer;
            level[n++] = newer + 0.382 * d;
            level[n++] = newer + 0.5 * d;
            level[n++] = newer + 0.618 * d;
        }
        std::size_t best_count = 0;
        double best_sum = 0.0;
        for (std::size_t c = 0; c < n; ++c) {
            std::size_t count = 0;
            double sum = 0.0;
            for (std::size_t j = 0; j < n; ++j) {
                if (core::swing_near(level[j], level[c], 0.03)) {
                    ++count;
                    sum += level[j];
                }
            }
            if (count >= best_count) {
                best_count = count;
                best_sum = sum;
            }
        }
        const double count = static_cast<double>(best_count);
        return {best_sum / count, count};
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FibConfluence(std::span<const double>) { return box_kind(kinds::FibConfluence{}); }

}  // namespace ostrel::catalogue
