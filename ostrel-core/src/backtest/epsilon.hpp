// The float epsilon of the engine's guards (until the strategy side provides it).
#pragma once

namespace ostrel {
inline constexpr double EPSILON = 2.220446049250313e-16;
}  // namespace ostrel
