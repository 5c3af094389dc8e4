// The process-wide table of unit phasors for the one-cycle Fourier sum of the
// dominant-cycle phase: list n (n = 0 .. 50) holds the n pairs
// (sin(2 pi k / n), cos(2 pi k / n)), k = 0 .. n - 1. Built once, on first use, and
// read-only afterwards.
#pragma once

#include <cstddef>
#include <span>

namespace ostrel::core {

struct PhasorPair {
    double sin;
    double cos;
};

inline constexpr std::size_t kDcPhasorMaxLength = 50;

// List n of the table; n must not exceed kDcPhasorMaxLength.
std::span<const PhasorPair> dc_phasor(std::size_t n);

}  // namespace ostrel::core
