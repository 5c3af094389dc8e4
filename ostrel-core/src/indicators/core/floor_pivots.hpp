// Shared frame of the floor-pivot kinds: levels computed from the current candle
// alone, stored as named outputs, the first of them returned.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "indicators/candle_guard.hpp"
#include "indicators/indicator.hpp"

namespace ostrel::core {

// The common pivot point (H + L + C) / 3.
inline double floor_pivot_point(const Candle& c) { return (c.high + c.low + c.close) / 3.0; }

// Base of the floor-pivot kinds. Derived supplies
//   static constexpr std::array<std::string_view, K> NAMES
//   static std::array<double, K> levels(const Candle&)
template <class Derived, std::size_t K>
class FloorPivots : public Indicator {
public:
    FloorPivots() : outputs_(Derived::NAMES) {}

    std::optional<double> update(const FeedSnapshot& f) final {
        const Candle* c = checked_candle(f);
        if (!c) return std::nullopt;
        const std::array<double, K> v = Derived::levels(*c);
        outputs_.store(v);
        return v[0];
    }
    std::span<const NamedOutput> outputs() const final { return outputs_.view(); }
    std::size_t warmup_period() const final { return 1; }

private:
    OutputSlots<K> outputs_;
};

}  // namespace ostrel::core
