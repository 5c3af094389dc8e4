// Every kind of the volume lines, session measures, Heikin-Ashi candles and price
// transforms over one 240-candle series (seven-hour steps with minute jitter from
// 2024-01-26 across three month ends and a leap day, one step back by three days,
// a zero candle, zero volumes and one candle that fails the checks). The expected
// digests come from an independent Python model written from the rules (its floats
// are IEEE doubles, fused multiply-adds emulated exactly with fractions, the
// calendar taken from Python's datetime): FNV-1a over the bit patterns of every
// value and named output in order, with a marker for each update without a value.
// A digest match therefore means every bit of every value agrees.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#include "support/candle_family_support.hpp"

namespace {

using candlefam::make;
using ostrel::FeedSnapshot;

std::vector<FeedSnapshot> series(int n) {
    constexpr std::int64_t t0 = 1706227200000;  // 2024-01-26 00:00:00 UTC
    constexpr std::int64_t hour = 3600000;
    std::vector<FeedSnapshot> out;
    for (int i = 0; i < n; ++i) {
        std::int64_t t = t0 + i * 7 * hour + ((i * 23) % 60) * 60000;
        if (i == 60) t -= 3 * 24 * hour;
        double o = 90 + ((i * 37 + 11) % 29) * 0.25;
        double c = 90 + ((i * 41 + 7) % 31) * 0.25;
        double h = std::max(o, c) + ((i * 53 + 5) % 13) * 0.125;
        double l = std::min(o, c) - ((i * 17 + 3) % 11) * 0.125;
        double v = ((i * 13) % 7) * 10.0;
        if (i == 25) o = h = l = c = 0.0, v = 20.0;
        if (i == 40) h = l - 1.0;
        FeedSnapshot s;
        s.candle = {t, o, h, l, c, v};
        out.push_back(s);
    }
    return out;
}

class Digest {
public:
    void mix(std::uint64_t x) {
        for (int k = 0; k < 8; ++k) {
            h_ ^= (x >> (8 * k)) & 0xff;
            h_ *= 0x100000001b3ULL;
        }
    }
    std::uint64_t value() const { return h_; }

private:
    std::uint64_t h_ = 0xcbf29ce484222325ULL;
};

struct Row {
    const char* kind;
    std::vector<double> params;
    int values;
    std::uint64_t digest;
};

const Row kRows[] = {
    {"Obv", {}, 239, 0xdcd620efca36e700ULL},
    {"Adl", {}, 239, 0x8afbef5d6506a805ULL},
    {"Wad", {}, 238, 0xe855aca3af291ae2ULL},
    {"AdOscillator", {}, 226, 0xafa729e58c14bf7aULL},
    {"VolumePriceTrend", {}, 239, 0xda17d6ff6f355e7eULL},
    {"Pvi", {}, 239, 0x703a6b59262a790aULL},
    {"Nvi", {}, 239, 0xc2450d3d9ffff402ULL},
    {"IntradayIntensity", {}, 239, 0x0330597992be2025ULL},
    {"Vwap", {}, 238, 0xcc64de2ca3a8f1c2ULL},
    {"AnchoredVwap", {}, 238, 0xcc64de2ca3a8f1c2ULL},
    {"CandleVolume", {5}, 235, 0xc2886ce8d5481983ULL},
    {"Equivolume", {4}, 236, 0x061a28dd7a144a94ULL},
    {"HeikinAshi", {}, 239, 0xe1c7c6feb5fe6564ULL},
    {"SmoothedHeikinAshi", {1}, 239, 0xe1c7c6feb5fe6564ULL},
    {"SmoothedHeikinAshi", {6}, 234, 0x64eb1a225742a0faULL},
    {"AvgPrice", {}, 239, 0xaa5c76f5a9b8d6efULL},
    {"MedianPrice", {}, 239, 0x469235783ac7f202ULL},
    {"TypicalPrice", {}, 239, 0x3fb24598f700556cULL},
    {"WeightedClose", {}, 239, 0x37393a4d6257bb54ULL},
    {"WickRatio", {}, 239, 0x0c4ca680e649ccb5ULL},
    {"BodySizePct", {}, 239, 0x2bb4265a4350ad08ULL},
    {"CloseVsOpen", {}, 239, 0x78a58d4a37679a26ULL},
    {"SessionHighLow", {0}, 239, 0x96da91658ea346d9ULL},
    {"SessionRange", {0}, 239, 0x659b20a0d550e6acULL},
    {"SessionVwap", {0}, 239, 0xab0bb2d2d4821e84ULL},
    {"OvernightGap", {0}, 235, 0x41202b6aab248848ULL},
    {"OvernightIntradayReturn", {0}, 235, 0x15bd1e0d4c3e1df0ULL},
    {"SeasonalZScore", {0}, 190, 0x9791083eb812055fULL},
    {"SessionHighLow", {330}, 239, 0xc60ec643001df1d5ULL},
    {"SessionRange", {330}, 239, 0xfce5aee3b4b2c614ULL},
    {"SessionVwap", {330}, 239, 0x7b781731adc74da0ULL},
    {"OvernightGap", {330}, 236, 0xb228a05c2380dd65ULL},
    {"OvernightIntradayReturn", {330}, 236, 0x248eb3cd562280d3ULL},
    {"SeasonalZScore", {330}, 190, 0x626798b8a94cf78fULL},
    {"SessionHighLow", {-240}, 239, 0x2e9b6c87afeac6cbULL},
    {"SessionRange", {-240}, 239, 0xdaabbda00595fc49ULL},
    {"SessionVwap", {-240}, 239, 0x468748f41f00c825ULL},
    {"OvernightGap", {-240}, 238, 0x561ca845f143e3e7ULL},
    {"OvernightIntradayReturn", {-240}, 238, 0xd12c6a5494195422ULL},
    {"SeasonalZScore", {-240}, 190, 0x9791083eb812055fULL},
    {"TurnOfMonth", {3, 2, 0}, 221, 0x87d7ab4e8ef4d22fULL},
    {"TurnOfMonth", {0, 1, 0}, 218, 0x7f72d3bde203be50ULL},
    {"TurnOfMonth", {1, 0, -300}, 214, 0xa7ac4a4e1cf1d49cULL},
    {"TurnOfMonth", {2, 40, 600}, 233, 0x5ec7ef51e0342349ULL},
    {"OpeningRange", {7}, 239, 0x0736d173b56f5337ULL},
    {"InitialBalance", {30}, 239, 0xd5a207bcc8dfec78ULL},
    {"OpeningRange", {100}, 239, 0xc7210d1eb6bad862ULL},
};

}  // namespace

TEST(SessionReference, EveryKindMatchesTheIndependentModelBitForBit) {
    const auto bars = series(240);
    for (const Row& row : kRows) {
        auto ind = make(row.kind, row.params);
        ASSERT_TRUE(ind) << row.kind;
        Digest d;
        int values = 0;
        for (const auto& b : bars) {
            auto v = ind->update(b);
            if (!v) {
                d.mix(0x7ff8dead0000beefULL);
                continue;
            }
            ++values;
            auto outs = ind->outputs();
            if (outs.empty()) {
                d.mix(std::bit_cast<std::uint64_t>(*v));
            } else {
                EXPECT_EQ(std::bit_cast<std::uint64_t>(*v), std::bit_cast<std::uint64_t>(outs[0].value)) << row.kind;
                for (const auto& o : outs) d.mix(std::bit_cast<std::uint64_t>(o.value));
            }
        }
        EXPECT_EQ(values, row.values) << row.kind << " " << (row.params.empty() ? 0.0 : row.params[0]);
        EXPECT_EQ(d.value(), row.digest) << row.kind << " " << (row.params.empty() ? 0.0 : row.params[0]);
    }
}
