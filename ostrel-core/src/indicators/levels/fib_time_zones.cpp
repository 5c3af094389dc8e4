#include "catalogue/params.hpp"
#include "indicators/core/fib_levels.hpp"

namespace ostrel::kinds {

// Bars since the newest pivot against the time zones 1, 2, 3, 5, 8, 13, ...: whether
// the current bar lies on a zone, and how many bars remain to the next one.
class FibTimeZones final : public core::SwingLevels<FibTimeZones, 2, 1, 2> {
public:
    static constexpr std::array<std::string_view, 2> NAMES = {"on_zone", "bars_to_next"};
    std::array<double, 2> levels(const core::SwingTracker& t) const {
        const std::size_t d = current_bar(t) - t.newest().index;
        // Wide enough that the zone after any bar count is exact.
        unsigned __int128 zone = 1, next = 2;
        bool on = false;
        while (zone <= d) {
            if (zone == d) on = true;
            const unsigned __int128 after = zone + next;
            zone = next;
            next = after;
        }
        return {on ? 1.0 : 0.0, static_cast<double>(zone - d)};
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FibTimeZones(std::span<const double>) { return box_kind(kinds::FibTimeZones{}); }

}  // namespace ostrel::catalogue
