// Hilbert-transform cycle measures and the phasor of the candle family: warm-ups,
// the shared phasor table, ranges, and values from an independent model.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/close_series_support.hpp"
#include "indicators/core/dc_phasor.hpp"
#include "indicators/core/ht_dcphase.hpp"

using namespace closetest;

namespace {

const char* const kDominantKinds[] = {"HilbertDominantCycle", "AdaptiveCycle", "HtDcPhase", "SineWave", "HtTrendMode"};

// A deterministic walk with trending and flat stretches and jumps, for range checks.
std::vector<double> rough_walk(std::size_t n) {
    std::vector<double> xs;
    std::uint64_t s = 0x9e3779b97f4a7c15ULL;
    double x = 50.0;
    for (std::size_t i = 0; i < n; ++i) {
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        const double u = static_cast<double>(s >> 11) / 9007199254740992.0 - 0.5;
        const std::size_t regime = (i / 150) % 4;
        if (regime == 0) x += 0.8 + u;                  // trend up
        else if (regime == 1) x += 3.0 * u;             // noise
        else if (regime == 2) x = 50.0 + 8.0 * std::sin(0.4 * static_cast<double>(i));  // pure cycle
        else x += (i % 37 == 0) ? 20.0 * u : 0.1 * u;   // quiet with jumps
        xs.push_back(x);
    }
    return xs;
}

}  // namespace

TEST(HilbertChainCore, FirstPeriodAndStages) {
    ostrel::core::HilbertChain chain;
    const auto xs = series(30);
    for (std::size_t i = 0; i < 21; ++i) {
        auto stage = chain.step(xs[i]);
        EXPECT_EQ(stage, i < 3 ? ostrel::core::ChainStage::Counted : ostrel::core::ChainStage::Smoothed) << i;
    }
    EXPECT_EQ(chain.period(), 0.0);
    EXPECT_EQ(chain.step(xs[21]), ostrel::core::ChainStage::Measured);
    // The first limit is against a period of 0: whatever the raw period, p becomes 6.
    EXPECT_EQ(chain.period(), 0.2 * 6.0);
    EXPECT_EQ(chain.smooth_period(), 0.33 * (0.2 * 6.0));
    EXPECT_EQ(chain.count(), 22u);
    EXPECT_EQ(chain.smooth(), (4.0 * xs[21] + 3.0 * xs[20] + 2.0 * xs[19] + xs[18]) / 10.0);
}

TEST(HilbertEdges, ConstantSeries) {
    const std::vector<double> flat(120, 100.0);
    auto hdc = run("HilbertDominantCycle", {}, flat);
    auto ac = run("AdaptiveCycle", {}, flat);
    for (std::size_t i = 0; i < 49; ++i) EXPECT_FALSE(hdc[i] || ac[i]) << i;
    double previous = 0.0;
    for (std::size_t i = 49; i < flat.size(); ++i) {
        EXPECT_GT(*hdc[i], previous);  // rises towards 6 without reaching it
        EXPECT_LT(*hdc[i], 6.0);
        previous = *hdc[i];
        EXPECT_EQ(ac[i], 3.0);
    }
    EXPECT_NEAR(*hdc[119], 6.0, 1e-3);
}

TEST(HilbertEdges, RangesOnARoughWalk) {
    const auto xs = rough_walk(1200);
    auto hdc = run("HilbertDominantCycle", {}, xs);
    auto ac = run("AdaptiveCycle", {}, xs);
    auto ph = run("HtDcPhase", {}, xs);
    auto sw = run("SineWave", {}, xs);
    auto tm = run("HtTrendMode", {}, xs);
    bool saw_trend = false, saw_cycle = false;
    for (std::size_t i = 49; i < xs.size(); ++i) {
        EXPECT_GE(*hdc[i], 0.0);
        EXPECT_LE(*hdc[i], 50.0);
        EXPECT_GE(*ac[i], 3.0);
        EXPECT_LE(*ac[i], 25.0);
        EXPECT_EQ(*ac[i], std::floor(*ac[i]));
        EXPECT_LE(*ph[i], 315.0);
        EXPECT_EQ(*sw[i], std::sin(*ph[i] * 0.017453292519943295));
        EXPECT_TRUE(*tm[i] == 0.0 || *tm[i] == 1.0);
        saw_trend = saw_trend || *tm[i] == 1.0;
        saw_cycle = saw_cycle || *tm[i] == 0.0;
    }
    EXPECT_TRUE(saw_trend && saw_cycle);
}

TEST(DcPhasorTable, ListsHoldTheUnitPhasors) {
    using ostrel::core::dc_phasor;
    EXPECT_TRUE(dc_phasor(0).empty());
    for (std::size_t n = 1; n <= 50; ++n) ASSERT_EQ(dc_phasor(n).size(), n);
    // Values of the C library's sin and cos at 2 pi k / n, as Python computes them.
    const auto four = dc_phasor(4);
    EXPECT_EQ(four[0].sin, 0.0);
    EXPECT_EQ(four[0].cos, 1.0);
    EXPECT_EQ(four[1].sin, 1.0);
    EXPECT_EQ(four[1].cos, 6.123233995736766e-17);
    EXPECT_EQ(four[2].sin, 1.2246467991473532e-16);
    EXPECT_EQ(four[2].cos, -1.0);
    EXPECT_EQ(four[3].sin, -1.0);
    EXPECT_EQ(four[3].cos, -1.8369701987210297e-16);
    EXPECT_EQ(dc_phasor(7)[3].sin, 0.43388373911755823);
    EXPECT_EQ(dc_phasor(7)[3].cos, -0.900968867902419);
    EXPECT_EQ(dc_phasor(50)[13].sin, 0.9980267284282716);
    EXPECT_EQ(dc_phasor(50)[13].cos, -0.0627905195293134);
    EXPECT_EQ(dc_phasor(1)[0].cos, 1.0);
    // One table: every caller sees the same storage.
    EXPECT_EQ(dc_phasor(9).data(), dc_phasor(9).data());
}

TEST(DcPhasorTable, PhaseKindsOnManyThreadsAgree) {
    const auto xs = rough_walk(600);
    std::vector<Values> expected;
    for (const char* k : {"HtDcPhase", "SineWave", "HtTrendMode"}) expected.push_back(run(k, {}, xs));
    std::vector<std::vector<Values>> got(8);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < got.size(); ++t) {
        threads.emplace_back([&, t] {
            for (const char* k : {"HtDcPhase", "SineWave", "HtTrendMode"}) {
                auto r = ostrel::build_indicator(k, {});
                Values v;
                for (double x : xs) v.push_back((*r)->update(snap(x)));
                got[t].push_back(std::move(v));
            }
        });
    }
    for (auto& th : threads) th.join();
    for (const auto& g : got) EXPECT_EQ(g, expected);
}

// Values of an independent model of the written chain and phase rules over
// series(400), at the 60th, 201st and 400th close.
TEST(HilbertValues, AgreeWithIndependentModel) {
    const struct {
        const char* kind;
        double at59, at200, at399;
    } cases[] = {
        {"HilbertDominantCycle", 21.717667944219322, 21.097555061229933, 20.741512168347235},
        {"AdaptiveCycle", 11.0, 11.0, 10.0},
        {"HtDcPhase", 282.63827856615455, 196.7980947195935, 18.687927698751203},
        {"SineWave", -0.9757708054877217, -0.28899996264092137, 0.32041340493390175},
        {"HtTrendMode", 1.0, 0.0, 0.0},
    };
    for (const auto& c : cases) {
        auto v = run(c.kind, {}, series(400));
        EXPECT_TRUE(same_bits(*v[59], c.at59)) << c.kind << " " << *v[59];
        EXPECT_TRUE(same_bits(*v[200], c.at200)) << c.kind << " " << *v[200];
        EXPECT_TRUE(same_bits(*v[399], c.at399)) << c.kind << " " << *v[399];
    }
    // The whole trend-mode sequence from the 50th close on.
    const std::string pattern =
        "1111101111111100111111111101111111111111111111001111111110111111111011111111100111111111011111111101"
        "1111111110111111111011111111110111111111001111111110111111111011111111110111111111011111111110111111"
        "1110111111111101111111110111111111101111111110111111111101111111110111111111101111111110111111111101"
        "111111110111111111101111111110111111111001111111110";
    auto tm = run("HtTrendMode", {}, series(400));
    std::string got;
    for (std::size_t i = 49; i < tm.size(); ++i) got += *tm[i] == 1.0 ? '1' : '0';
    EXPECT_EQ(got, pattern);
}

TEST(HtPhasor, OutputsAgreeWithIndependentModel) {
    auto ind = make("HtPhasor", {});
    EXPECT_TRUE(ind->outputs().empty());
    const auto xs = series(400);
    const struct {
        std::size_t at;
        double inphase, quadrature;
    } expected[] = {
        {59, -10.20179465305364, -1.8056720718619648},
        {200, 3.205824410258647, -10.276002371972513},
        {399, -1.8679247585343748, 8.248735009576405},
    };
    std::size_t e = 0;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        auto v = ind->update(snap(xs[i]));
        EXPECT_EQ(v.has_value(), i >= 21) << i;
        if (i < 21) EXPECT_TRUE(ind->outputs().empty());
        if (e < 3 && expected[e].at == i) {
            auto out = ind->outputs();
            ASSERT_EQ(out.size(), 2u);
            EXPECT_EQ(out[0].name, "inphase");
            EXPECT_EQ(out[1].name, "quadrature");
            EXPECT_TRUE(same_bits(out[0].value, expected[e].inphase)) << i << " " << out[0].value;
            EXPECT_TRUE(same_bits(out[1].value, expected[e].quadrature)) << i << " " << out[1].value;
            EXPECT_TRUE(same_bits(*v, out[0].value));
            ++e;
        }
    }
}

TEST(HtPhasor, ReadsOnlyTheClose) {
    // A candle whose high lies below its low is still used; a non-finite close is not,
    // and keeps the outputs of the last value.
    auto clean = make("HtPhasor", {});
    auto odd = make("HtPhasor", {});
    const auto xs = series(40);
    for (std::size_t i = 0; i < xs.size(); ++i) {
        FeedSnapshot s = snap(xs[i]);
        s.candle.high = xs[i] - 5.0;
        s.candle.low = xs[i] + 5.0;
        s.candle.volume = -3.0;
        auto a = clean->update(snap(xs[i]));
        auto b = odd->update(s);
        ASSERT_EQ(a.has_value(), b.has_value()) << i;
        if (a) EXPECT_TRUE(same_bits(*a, *b)) << i;
    }
    const double before = odd->outputs()[1].value;
    EXPECT_FALSE(odd->update(snap(NAN)).has_value());
    ASSERT_EQ(odd->outputs().size(), 2u);
    EXPECT_EQ(odd->outputs()[1].value, before);
}
