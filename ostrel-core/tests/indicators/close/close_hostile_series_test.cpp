// Momentum and oscillator kinds on a hostile close series: closes of 0 and of
// negative zero every few bars, runs of equal closes, a fall through zero, with a
// NaN and an infinite close slipped in every seventh bar. The values come from an
// independent model of each kind written in Python (its floats are IEEE doubles;
// fused multiply-adds are emulated exactly with fractions) and are compared bit for
// bit, so the sign of a zero result counts.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "support/close_kinds_util.hpp"

using namespace close_kinds;

namespace {

const std::vector<double> kHostile = {4.141, 6.077, 7.16, 5.886, 0.0, 5.465, 7.781, 8.801, -0.0, 11.299, 11.299, 11.142, 13.002, 13.002, 13.002, 0.0, 13.002, 12.585, 12.585, -0.0, 12.037, 10.543, 9.625, 9.625, 8.271, 8.271, 0.0, 8.271, 9.991, 12.293, -0.0, 10.353, 10.886, 10.886, 10.215, 10.215, 11.898, 0.0, 11.084, 13.58, 11.929, -0.0, 11.088, 11.088, 9.078, 6.6, 6.6, 5.851, 0.0, 4.547, 3.365, 3.045, -0.0, 3.045, 3.045, 1.224, -0.026, -0.026, -0.026, 0.0, 0.05, 0.05, 1.063, -0.0};

// Marks an index at which the kind gives no value.
constexpr double kNone = 1e300;

struct Row {
    const char* kind;
    std::vector<double> params;
    double at40, at52, at63;
};

void expect_bits(const Series& got, std::size_t i, double want, const Row& row) {
    ASSERT_LT(i, got.size());
    if (want == kNone) {
        EXPECT_FALSE(got[i]) << row.kind << " at " << i;
        return;
    }
    ASSERT_TRUE(got[i]) << row.kind << " at " << i;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(*got[i]), std::bit_cast<std::uint64_t>(want))
        << row.kind << " at " << i << ": got " << *got[i] << ", want " << want;
}

}  // namespace

TEST(HostileSeries, MomentumAndOscillatorKindsBitForBit) {
    const Row rows[] = {
        {"Rsi", {3}, 57.104814812892684, 22.675745445538848, 37.636984718034554},
        {"AdaptiveRsi", {4}, 7.663714875913423, 5.46176335083616, 82.6098779359345},
        {"AnchoredRsi", {}, 52.30234373152331, 49.024871544899234, 49.06141913607949},
        {"ConnorsRsi", {3, 2, 6}, 32.96659776613439, 12.978527283821954, 19.988063573581307},
        {"FisherRsi", {3}, 0.14306442466996394, -0.613355903713164, -0.25249259639079935},
        {"LaguerreRsi", {0.4}, 49.00023100321099, 0.0, 33.25971665623859},
        {"Rmi", {3, 2}, 74.00776062462215, 21.26357406729756, 62.74372780168357},
        {"Rsx", {4}, 61.96151024819755, 28.23621219538034, 54.81307553173125},
        {"StochRsi", {3, 4}, 83.04576941100765, 0.0, 14.671374125229427},
        {"Mom", {3}, 11.929, -4.547, -0.05},
        {"Roc", {3}, 0.0, -100.0, -100.0},
        {"Rocp", {3}, 0.0, -1.0, -1.0},
        {"Rocr", {3}, 0.0, -0.0, -0.0},
        {"Rocr100", {3}, 0.0, -0.0, -0.0},
        {"DisparityIndex", {4}, 30.3965239253409, -100.00000000000001, -100.0},
        {"Dpo", {2}, -1.6705000000000023, 1.8425000000000002, -0.4815},
        {"Dpo", {5}, -9.6982, 2.3555999999999995, -0.18259999999999998},
        {"Cfo", {4}, -24.827730740212914, -29.136288998357966, 27.648165569143927},
        {"TsfOscillator", {4}, -56.920110654707024, -55.254515599343186, -2.3518344308560595},
        {"Cmo", {4}, 0.11426886357772341, 0.0, 1.044424294097043e-14},
        {"DynamicMomentumIndex", {7}, 52.97445508815771, 50.0, 35.53683486632855},
        {"Tii", {3, 4}, 53.47812848878519, 39.72763215697759, 66.42533936651584},
        {"UniversalOscillator", {5}, 1.0, -0.1709191329350225, 0.09313337269070862},
        {"WavePm", {3, 2}, 43.111538797902284, 42.510797867421076, 11.055645157387358},
        {"Apo", {2, 4}, 0.9078173489599486, -1.0800436014082242, -0.0593699982717677},
        {"Ppo", {2, 4}, 8.235071525928946, -50.38018671049812, -19.74423570250677},
        {"PpoHistogram", {2, 4, 3}, 2.2812098236954004, -18.465748855902007, -2.851789259911616},
        {"MacdHistogram", {2, 4, 3}, 0.1703691833696832, -0.2713117454469013, -0.04428398030242933},
        {"Pmo", {3, 4}, -70.91807973128192, -466.23994066832245, 5229.659385196443},
        {"Trix", {3}, 7.878628076937521, -18.50646102110575, -2.4257662887204305},
        {"Tsi", {4, 3}, 16.782923555357055, -40.487321974960224, -6.791869531860446},
        {"Coppock", {3, 2, 4}, -12.376388160716335, -103.74680827859943, 410.87692307692316},
        {"DerivativeOscillator", {3, 2, 2, 3}, 3.7649992784436392, -4.815016838784864, 4.826855946017822},
        {"ElderImpulse", {3, 2, 4, 3}, 0.0, -1.0, -1.0},
        {"Stc", {2, 4, 3, 0.5}, 51.48640316374665, 43.89883733925258, 48.85346835830579},
    };
    for (const auto& row : rows) {
        auto got = run_with_bad_bars(row.kind, row.params, kHostile);
        ASSERT_EQ(got.size(), kHostile.size()) << row.kind;
        expect_bits(got, 40, row.at40, row);
        expect_bits(got, 52, row.at52, row);
        expect_bits(got, 63, row.at63, row);
    }
}

TEST(HostileSeries, SignOfZeroResults) {
    // The close of -0 over a positive base: Rocr gives -0 / 8.271 = -0, and Rocr100
    // keeps the sign through the scaling; Roc gives ((-0 - 8.271) / 8.271) x 100.
    auto rocr = run("Rocr", {1}, {8.271, -0.0});
    ASSERT_TRUE(rocr[1]);
    EXPECT_TRUE(std::signbit(*rocr[1]));
    auto rocr100 = run("Rocr100", {1}, {8.271, -0.0});
    ASSERT_TRUE(rocr100[1]);
    EXPECT_TRUE(std::signbit(*rocr100[1]));
    EXPECT_EQ(run("Roc", {1}, {8.271, -0.0})[1], -100.0);
    // A base of -0 counts as a zero base.
    auto zero_base = run("Rocr", {1}, {-0.0, 5.0});
    ASSERT_TRUE(zero_base[1]);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(*zero_base[1]), std::bit_cast<std::uint64_t>(0.0));
}
