// The Hilbert chain shared by the dominant-cycle kinds, and the table of unit phasors
// that the phase kinds share across threads (their values are in data/values.txt).
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "indicators/core/dc_phasor.hpp"
#include "indicators/core/ht_dcphase.hpp"

namespace {

using Values = std::vector<std::optional<double>>;

// The wave of data/series.txt (wave500): a drift, a sine and a jagged part.
std::vector<double> series(std::size_t n) {
    std::vector<double> c;
    for (std::size_t i = 0; i < n; ++i)
        c.push_back(100.0 + 10.0 * std::sin(0.3 * static_cast<double>(i)) + 0.05 * static_cast<double>(i) +
                    static_cast<double>((i * 37) % 11) * 0.25);
    return c;
}

ostrel::FeedSnapshot snap(double close) {
    ostrel::FeedSnapshot s;
    s.candle.open = s.candle.high = s.candle.low = s.candle.close = close;
    return s;
}

Values run(const char* kind, const std::vector<double>& xs) {
    auto built = ostrel::build_indicator(kind, {});
    Values out;
    for (double x : xs) out.push_back((*built)->update(snap(x)));
    return out;
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
    const auto xs = series(600);
    std::vector<Values> expected;
    for (const char* k : {"HtDcPhase", "SineWave", "HtTrendMode"}) expected.push_back(run(k, xs));
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


// Over equal closes the phase sums of a whole cycle are exactly 0 whatever the price, so
// the phase kinds give the same values at every price (the rounded sums leave a residue
// whose sign would turn the phase by 180 degrees, differently at 2 and at 102.6).
TEST(DcPhaseKinds, EqualClosesGiveOnePhaseAtEveryPrice) {
    for (const char* k : {"HtDcPhase", "SineWave"}) {
        const auto at_two = run(k, std::vector<double>(300, 2.0));
        for (double p : {98.0, 102.6, 97.3, 0.001, 12345.678})
            EXPECT_EQ(run(k, std::vector<double>(300, p)), at_two) << k << " at " << p;
    }
}
