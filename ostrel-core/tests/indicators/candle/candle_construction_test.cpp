// Construction of the candle-series kinds through the catalogue: the order of the
// checks and their texts, and lengths that must be refused rather than wrap.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/build_support.hpp"
#include "catalogue/catalogue.hpp"

using namespace ostrel;

namespace {

auto& build = build_support::build_error;
auto& reason = build_support::params_error;
using build_support::kMax;
using build_support::kMult;
using build_support::kZero;
// Read as a positive integer, then truncated to 0 by the reader's tolerance.
constexpr double kTiny = 1e-20;
constexpr double kHuge = 1e300;  // saturates to 2^64 - 1

}  // namespace

TEST(CandleConstruction, SinglePeriodKinds) {
    for (const char* k : {"Atr", "Natr", "PlusDm", "MinusDm", "PlusDi", "MinusDi", "Dx", "Adx", "Adxr", "Aroon",
                          "AroonOscillator", "HiLoActivator", "TtmTrend", "MidPrice", "ModifiedMaStop", "Vortex",
                          "QuartileBands"}) {
        EXPECT_EQ(build(k, {kTiny}), reason(k, kZero));
        EXPECT_EQ(build(k, {16777217}), reason(k, kMax));
        EXPECT_EQ(build(k, {kHuge}), reason(k, kMax));
        EXPECT_EQ(build(k, {1}), "built") << k;
        EXPECT_EQ(build(k, {}), reason(k, "missing parameter #0"));
    }
    // Kinds without a window accept the longest length itself.
    for (const char* k : {"Atr", "Natr", "PlusDm", "MinusDm", "PlusDi", "MinusDi", "Dx", "Adx", "ModifiedMaStop"})
        EXPECT_EQ(build(k, {16777216}), "built") << k;
    EXPECT_EQ(build("ChoppinessIndex", {1}), reason("ChoppinessIndex", "invalid period: choppiness index needs period >= 2"));
    EXPECT_EQ(build("ChoppinessIndex", {kTiny}), reason("ChoppinessIndex", "invalid period: choppiness index needs period >= 2"));
    EXPECT_EQ(build("ChoppinessIndex", {16777217}), reason("ChoppinessIndex", kMax));
    EXPECT_EQ(build("Rwi", {kTiny}), reason("Rwi", kZero));
    EXPECT_EQ(build("Rwi", {kHuge}), reason("Rwi", kMax));
    EXPECT_EQ(build("Rwi", {1}), reason("Rwi", "invalid period: RWI requires period >= 2"));
    EXPECT_EQ(build("Rwi", {2}), "built");
}

TEST(CandleConstruction, Alligator) {
    EXPECT_EQ(build("Alligator", {16777217, 8, kTiny}), reason("Alligator", kZero));  // zeros first
    EXPECT_EQ(build("Alligator", {13, 16777217, 5}), reason("Alligator", kMax));
    EXPECT_EQ(build("Alligator", {13, 8}), reason("Alligator", "missing parameter #2"));
    EXPECT_EQ(build("Alligator", {13, 8, 5}), "built");
}

TEST(CandleConstruction, ParabolicStops) {
    EXPECT_EQ(build("Psar", {0.02, 0.02, 0.2}), "built");
    EXPECT_EQ(build("Psar", {0.02, 0.02, 0.02}), "built");
    EXPECT_EQ(build("Psar", {0.03, 0.02, 0.02}), reason("Psar", "invalid period: af_start must be <= af_max"));
    EXPECT_EQ(build("Psar", {0.3, 0.02, 0.2}), reason("Psar", "invalid period: af_start must be <= af_max"));
    EXPECT_EQ(build("Psar", {0.02, 0, 0.2}), reason("Psar", kMult));
    EXPECT_EQ(build("Psar", {0.3, -1, 0.2}), reason("Psar", kMult));  // positivity before the ordering
    EXPECT_EQ(build("Psar", {0.02, 0.5, 0.2}), "built");             // a step may exceed the maximum

    const std::vector<double> ok{0, 0, 0.02, 0.02, 0.2, 0.02, 0.02, 0.2};
    EXPECT_EQ(build("SarExt", ok), "built");
    auto with = [&](std::size_t i, double v) {
        auto p = ok;
        p[i] = v;
        return build("SarExt", p);
    };
    EXPECT_EQ(with(0, -5), "built");
    EXPECT_EQ(with(1, -0.1), reason("SarExt", kMult));
    EXPECT_EQ(with(3, 0), reason("SarExt", kMult));
    EXPECT_EQ(with(7, -1), reason("SarExt", kMult));
    EXPECT_EQ(with(2, 0.3), reason("SarExt", "invalid period: acceleration init must be <= max"));
    EXPECT_EQ(with(5, 0.3), reason("SarExt", "invalid period: acceleration init must be <= max"));
    auto p = ok;
    p[5] = 0.3, p[6] = 0;  // the short triple's positivity is tested before its ordering
    EXPECT_EQ(build("SarExt", p), reason("SarExt", kMult));
    p = ok;
    p[2] = 0.3, p[6] = 0;  // the long triple is tested completely first
    EXPECT_EQ(build("SarExt", p), reason("SarExt", "invalid period: acceleration init must be <= max"));
    EXPECT_EQ(build("SarExt", {0, 0, 0.02, 0.02, 0.2, 0.02, 0.02}), reason("SarExt", "missing parameter #7"));
}

TEST(CandleConstruction, MacdFamily) {
    const char* strict = "invalid period: fast period must be strictly less than slow period";
    EXPECT_EQ(build("MacdIndicator", {12, 26, 9}), "built");
    EXPECT_EQ(build("Macd", {12, 12, 9}), reason("MacdIndicator", strict));
    EXPECT_EQ(build("MacdIndicator", {kTiny, 26, 9}), reason("MacdIndicator", kZero));
    EXPECT_EQ(build("MacdIndicator", {30, 26, kTiny}), reason("MacdIndicator", kZero));  // zeros first
    EXPECT_EQ(build("MacdIndicator", {12, 26, kHuge}), reason("MacdIndicator", kMax));
    EXPECT_EQ(build("MacdIndicator", {12, kHuge, 9}), reason("MacdIndicator", kMax));
    EXPECT_EQ(build("MacdFix", {9}), "built");
    EXPECT_EQ(build("MacdFix", {kTiny}), reason("MacdFix", kZero));
    EXPECT_EQ(build("MacdFix", {16777217}), reason("MacdFix", kMax));
    EXPECT_EQ(build("ZeroLagMacd", {26, 12, 9}),
              reason("ZeroLagMacd", "invalid period: ZeroLagMACD fast period must be strictly less than slow"));
    EXPECT_EQ(build("ZeroLagMacd", {12, 26, 16777217}), reason("ZeroLagMacd", kMax));
    EXPECT_EQ(build("ZeroLagMacd", {12, 26, kTiny}), reason("ZeroLagMacd", kZero));
    EXPECT_EQ(build("VolumeWeightedMacd", {26, 26, 9}), reason("VolumeWeightedMacd", strict));
    EXPECT_EQ(build("VolumeWeightedMacd", {12, kHuge, 9}), reason("VolumeWeightedMacd", kMax));
    EXPECT_EQ(build("VolumeWeightedMacd", {12, 26, kTiny}), reason("VolumeWeightedMacd", kZero));
    EXPECT_EQ(build("VolumeWeightedMacd", {12, 26, 9}), "built");
}

TEST(CandleConstruction, Bands) {
    EXPECT_EQ(build("Keltner", {20, 10, 2}), "built");
    EXPECT_EQ(build("Keltner", {kTiny, kTiny, 0}), reason("Keltner", kMult));  // the multiplier first
    EXPECT_EQ(build("Keltner", {20, 10, -1}), reason("Keltner", kMult));
    EXPECT_EQ(build("Keltner", {kTiny, 10, 2}), reason("Keltner", kZero));
    EXPECT_EQ(build("Keltner", {kHuge, kTiny, 2}), reason("Keltner", kMax));  // ema_period before atr_period
    EXPECT_EQ(build("Keltner", {20, kHuge, 2}), reason("Keltner", kMax));
    EXPECT_EQ(build("StarcBands", {6, 15, 0}), reason("StarcBands", kMult));
    EXPECT_EQ(build("StarcBands", {kTiny, kHuge, 2}), reason("StarcBands", kZero));
    EXPECT_EQ(build("StarcBands", {6, kTiny, 2}), reason("StarcBands", kZero));
    EXPECT_EQ(build("MaEnvelope", {kTiny, 0}), reason("MaEnvelope", kMult));
    EXPECT_EQ(build("MaEnvelope", {kHuge, 0.02}), reason("MaEnvelope", kMax));
    EXPECT_EQ(build("MedianChannel", {kTiny, 0}), reason("MedianChannel", kZero));  // the period first
    EXPECT_EQ(build("MedianChannel", {kHuge, 0}), reason("MedianChannel", kMax));
    EXPECT_EQ(build("MedianChannel", {20, -0.0}), reason("MedianChannel", kMult));
    EXPECT_EQ(build("VwapStdDevBands", {0}), reason("VwapStdDevBands", kMult));
    EXPECT_EQ(build("VwapStdDevBands", {5e-324}), "built");
    EXPECT_EQ(build("VwapStdDevBands", {}), reason("VwapStdDevBands", "missing parameter #0"));
}

TEST(CandleConstruction, Oscillators) {
    EXPECT_EQ(build("Stochastic", {14, 3}), "built");
    EXPECT_EQ(build("Stochastic", {kTiny, kHuge}), reason("Stochastic", kZero));
    EXPECT_EQ(build("Stochastic", {kHuge, 16777217}), reason("Stochastic", kMax));
    // The %K length has no bound of its own; a huge one is refused like any window.
    EXPECT_EQ(build("Stochastic", {kHuge, 3}), reason("Stochastic", kMax));
    EXPECT_EQ(build("Stochastic", {16777217, 3}), reason("Stochastic", kMax));

    std::vector<double> kst{10, 15, 20, 30, 10, 10, 10, 15, 9};
    EXPECT_EQ(build("Kst", kst), "built");
    EXPECT_EQ(build("Kst", {10, 15, 20, 30, 10, 10, 10, 15}), reason("Kst", "missing parameter #8"));
    auto kst_with = [&](std::size_t i, double v) {
        auto p = kst;
        p[i] = v;
        return build("Kst", p);
    };
    EXPECT_EQ(kst_with(8, kTiny), reason("Kst", kZero));
    EXPECT_EQ(kst_with(3, kHuge), reason("Kst", kMax));
    EXPECT_EQ(kst_with(8, kHuge), reason("Kst", kMax));
    auto p = kst;
    p[0] = kHuge, p[7] = kTiny;  // every zero before any length
    EXPECT_EQ(build("Kst", p), reason("Kst", kZero));

    const char* factor = "invalid period: QQE factor must be a finite positive value";
    EXPECT_EQ(build("Qqe", {14, 5, 4.236}), "built");
    EXPECT_EQ(build("Qqe", {kTiny, 5, 0}), reason("Qqe", kZero));
    EXPECT_EQ(build("Qqe", {kHuge, kHuge, 0}), reason("Qqe", factor));  // the factor before the lengths
    EXPECT_EQ(build("Qqe", {14, 5, -1}), reason("Qqe", factor));
    EXPECT_EQ(build("Qqe", {kHuge, 5, 4}), reason("Qqe", kMax));     // from the inner RSI
    EXPECT_EQ(build("Qqe", {8388609, 5, 4}), reason("Qqe", kMax));   // 2 * rsi_period - 1 too long
    EXPECT_EQ(build("Qqe", {8388608, 5, 4}), "built");
    EXPECT_EQ(build("Qqe", {14, 16777217, 4}), reason("Qqe", kMax));

    EXPECT_EQ(build("WaveTrend", {10, 21, 4}), "built");
    EXPECT_EQ(build("WaveTrend", {kHuge, 21, kTiny}), reason("WaveTrend", kZero));
    EXPECT_EQ(build("WaveTrend", {10, 21, 16777217}), reason("WaveTrend", kMax));
}

TEST(CandleConstruction, Stops) {
    EXPECT_EQ(build("SuperTrend", {10, 3}), "built");
    EXPECT_EQ(build("SuperTrend", {kTiny, 0}), reason("SuperTrend", kMult));
    EXPECT_EQ(build("SuperTrend", {kTiny, 3}), reason("SuperTrend", kZero));
    EXPECT_EQ(build("SuperTrend", {kHuge, 3}), reason("SuperTrend", kMax));
    const char* nrtr = "invalid parameter: NRTR percentage must be in (0, 100)";
    EXPECT_EQ(build("Nrtr", {100}), reason("Nrtr", nrtr));
    EXPECT_EQ(build("Nrtr", {0}), reason("Nrtr", nrtr));
    EXPECT_EQ(build("Nrtr", {-2}), reason("Nrtr", nrtr));
    EXPECT_EQ(build("Nrtr", {99.999}), "built");
    EXPECT_EQ(build("Nrtr", {99.9}), "built");
}

TEST(CandleConstruction, WarmUps) {
    auto warmup = [](std::string_view kind, std::vector<double> p) {
        auto r = build_indicator(kind, p);
        return r ? (*r)->warmup_period() : std::size_t(-1);
    };
    EXPECT_EQ(warmup("Atr", {14}), 14u);
    EXPECT_EQ(warmup("Natr", {14}), 14u);
    EXPECT_EQ(warmup("PlusDm", {14}), 15u);
    EXPECT_EQ(warmup("Dx", {14}), 15u);
    EXPECT_EQ(warmup("Adx", {14}), 28u);
    EXPECT_EQ(warmup("Adxr", {14}), 41u);
    EXPECT_EQ(warmup("Adxr", {16777216}), 50331647u);
    EXPECT_EQ(warmup("Alligator", {8, 13, 5}), 13u);
    EXPECT_EQ(warmup("Aroon", {25}), 26u);
    EXPECT_EQ(warmup("AroonOscillator", {25}), 26u);
    EXPECT_EQ(warmup("Psar", {0.02, 0.02, 0.2}), 2u);
    EXPECT_EQ(warmup("SarExt", {0, 0, 0.02, 0.02, 0.2, 0.02, 0.02, 0.2}), 2u);
    EXPECT_EQ(warmup("ChoppinessIndex", {14}), 14u);
    EXPECT_EQ(warmup("HiLoActivator", {3}), 4u);
    EXPECT_EQ(warmup("TtmTrend", {6}), 6u);
    EXPECT_EQ(warmup("MidPrice", {10}), 10u);
    EXPECT_EQ(warmup("MacdIndicator", {12, 26, 9}), 34u);
    EXPECT_EQ(warmup("MacdFix", {9}), 34u);
    EXPECT_EQ(warmup("ZeroLagMacd", {12, 26, 9}), 26u + 12 + 9 + 4 - 1);
    EXPECT_EQ(warmup("VolumeWeightedMacd", {12, 26, 9}), 34u);
    EXPECT_EQ(warmup("Keltner", {20, 30, 2}), 30u);
    EXPECT_EQ(warmup("StarcBands", {6, 15, 2}), 15u);
    EXPECT_EQ(warmup("MaEnvelope", {20, 0.02}), 20u);
    EXPECT_EQ(warmup("MedianChannel", {20, 2}), 20u);
    EXPECT_EQ(warmup("QuartileBands", {20}), 20u);
    EXPECT_EQ(warmup("VwapStdDevBands", {2}), 1u);
    EXPECT_EQ(warmup("Stochastic", {14, 3}), 16u);
    EXPECT_EQ(warmup("Kst", {10, 15, 20, 30, 10, 10, 10, 15, 9}), 45u + 9 - 1);
    EXPECT_EQ(warmup("Qqe", {14, 5, 4.236}), 14u + 5 + 2 * 27 - 1);
    EXPECT_EQ(warmup("WaveTrend", {10, 21, 4}), 42u);
    EXPECT_EQ(warmup("Rwi", {8}), 8u);
    EXPECT_EQ(warmup("SuperTrend", {10, 3}), 10u);
    EXPECT_EQ(warmup("Nrtr", {2}), 1u);
    EXPECT_EQ(warmup("ModifiedMaStop", {6}), 6u);
    EXPECT_EQ(warmup("Vortex", {14}), 15u);
}
