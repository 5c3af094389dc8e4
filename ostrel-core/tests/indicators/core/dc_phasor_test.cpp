// The phasor table must hold what the C library's sin and cos return at run time,
// bit for bit, for every pair. A value the compiler worked out while compiling (a
// correctly rounded sin, say) differs from the library's in the last bit for a few
// angles, and builds by different compilers would then disagree.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "indicators/core/dc_phasor.hpp"

namespace {

// Called through volatile pointers, so no compiler can evaluate them while compiling,
// whatever flags built this test.
double (*volatile run_time_sin)(double) = ::sin;
double (*volatile run_time_cos)(double) = ::cos;

std::uint64_t bits(double v) { return std::bit_cast<std::uint64_t>(v); }

}  // namespace

TEST(DcPhasorTable, EveryPairIsTheRunTimeLibrarySinAndCos) {
    using ostrel::core::dc_phasor;
    using ostrel::core::kDcPhasorMaxLength;
    std::size_t pairs = 0;
    for (std::size_t n = 1; n <= kDcPhasorMaxLength; ++n) {
        const auto list = dc_phasor(n);
        ASSERT_EQ(list.size(), n);
        for (std::size_t k = 0; k < n; ++k) {
            // 2 pi k / n with the double nearest to 2 pi, as the table defines its angles.
            const double angle = 6.283185307179586 * static_cast<double>(k) / static_cast<double>(n);
            EXPECT_EQ(bits(list[k].sin), bits(run_time_sin(angle))) << "sin, n = " << n << ", k = " << k;
            EXPECT_EQ(bits(list[k].cos), bits(run_time_cos(angle))) << "cos, n = " << n << ", k = " << k;
            ++pairs;
        }
    }
    EXPECT_EQ(pairs, 1275u);
}
