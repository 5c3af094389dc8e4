// Shared frame of the Fibonacci tools on swing pivots: each owns a swing tracker
// (reversal fraction 0.05) bounded to the pivots it draws from, and recomputes its
// levels on every bar once the tracker holds enough pivots.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "indicators/candle_guard.hpp"
#include "indicators/indicator.hpp"
#include "indicators/core/swing_pattern.hpp"
#include "indicators/core/swing_tracker.hpp"

namespace ostrel::core {

// The retracement table shared by FibRetracement and AutoFib: from the newer pivot
// (factor 0) back to the older one (factor 1).
inline constexpr std::array<std::string_view, 7> FIB_RETRACEMENT_NAMES = {
    "level_0", "level_236", "level_382", "level_500", "level_618", "level_786", "level_1000"};

// Levels of a leg from `older` to `newer`: newer + f * (older - newer); the last is
// newer + (older - newer).
inline std::array<double, 7> fib_retracement_levels(double older, double newer) {
    const double d = older - newer;
    return {newer + 0.0 * d, newer + 0.236 * d, newer + 0.382 * d, newer + 0.5 * d,
            newer + 0.618 * d, newer + 0.786 * d, newer + d};
}

// Base of the Fibonacci kinds. `MaxPivots` bounds the tracker's list, `MinPivots`
// is the count the levels need. Derived supplies
//   static constexpr std::array<std::string_view, K> NAMES
//   std::array<double, K> levels(const SwingTracker&) const
// The returned value is the first level.
template <class Derived, std::size_t MaxPivots, std::size_t MinPivots, std::size_t K>
class SwingLevels : public Indicator {
    static_assert(MinPivots >= 1 && MinPivots <= MaxPivots);

public:
    SwingLevels() : tracker_(SWING_THRESHOLD, MaxPivots), outputs_(Derived::NAMES) {}

    std::optional<double> update(const FeedSnapshot& f) final {
        const Candle* c = checked_candle(f);
        if (!c) return std::nullopt;
        tracker_.step(c->high, c->low);
        if (tracker_.size() < MinPivots) return std::nullopt;
        const std::array<double, K> v = static_cast<const Derived&>(*this).levels(tracker_);
        outputs_.store(v);
        return v[0];
    }
    std::span<const NamedOutput> outputs() const final { return outputs_.view(); }
    // A first pivot is confirmed on the second bar at the earliest.
    std::size_t warmup_period() const final { return MinPivots < 2 ? 2 : MinPivots; }

protected:
    // The ordinal of the bar being updated.
    static std::size_t current_bar(const SwingTracker& t) { return t.bar_count() - 1; }
    // Ordinal difference, unsigned, then as a float.
    static double bars_between(std::size_t later, std::size_t earlier) {
        return static_cast<double>(later - earlier);
    }

private:
    SwingTracker tracker_;
    OutputSlots<K> outputs_;
};

}  // namespace ostrel::core
