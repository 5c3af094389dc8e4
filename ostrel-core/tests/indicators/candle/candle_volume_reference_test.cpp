// The volume, range-eighths, volatility-cone and volume-weighted support and
// resistance kinds against values from an independent model written from their
// definitions (plain floating-point loops, the fused steps of the exponential
// averages emulated with exact rational arithmetic). The values are compared bit
// for bit at five points along a 64-bar series that holds a zero-volume bar, flat
// bars, an unchanged close and two candles that fail the checks (bars 30 and 41),
// which the model skips.
#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"

using namespace ostrel;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Bar {
    double o, h, l, c, v;
};

const Bar kBars[] = {
    {50.0, 50.4, 47.5, 48.83, 852.0},
    {48.83, 49.67, 47.12, 48.31, 452.0},
    {48.31, 49.54, 46.83, 49.26, 984.0},
    {49.26, 50.5, 47.52, 48.24, 399.0},
    {48.24, 49.28, 47.67, 48.72, 426.0},
    {48.72, 48.85, 46.98, 47.31, 0.0},
    {47.31, 48.55, 46.03, 47.78, 331.0},
    {47.78, 48.46, 45.74, 47.16, 129.0},
    {47.16, 48.52, 44.67, 45.81, 355.0},
    {45.81, 45.81, 45.81, 45.81, 250.0},
    {45.81, 45.81, 45.81, 45.81, 0.0},
    {46.79, 48.18, 45.51, 47.69, 110.0},
    {47.69, 48.83, 46.31, 47.74, 782.0},
    {47.74, 48.58, 46.37, 46.89, 111.0},
    {46.89, 47.2, 46.34, 46.83, 824.0},
    {46.83, 47.02, 44.44, 45.81, 872.0},
    {45.81, 46.99, 45.05, 45.94, 616.0},
    {45.94, 47.0, 43.27, 45.94, 212.0},
    {44.73, 46.24, 44.13, 45.81, 723.0},
    {45.81, 48.24, 44.88, 47.01, 258.0},
    {47.01, 47.15, 45.69, 46.33, 643.0},
    {46.33, 47.04, 45.56, 46.88, 853.0},
    {46.88, 49.35, 45.43, 48.32, 967.0},
    {48.32, 49.69, 46.27, 47.52, 123.0},
    {47.52, 48.35, 46.34, 48.1, 787.0},
    {48.1, 49.58, 47.04, 48.46, 231.0},
    {48.46, 50.32, 48.2, 49.29, 885.0},
    {49.29, 51.48, 49.25, 50.69, 124.0},
    {50.69, 51.74, 48.92, 50.11, 666.0},
    {50.11, 50.56, 49.61, 50.2, 190.0},
    {50.2, 47.34, 50.41, 49.63, 594.0},
    {49.63, 50.31, 47.89, 49.26, 228.0},
    {49.26, 51.31, 49.19, 50.18, 547.0},
    {50.18, 52.77, 49.72, 51.65, 174.0},
    {51.65, 52.49, 50.81, 51.76, 654.0},
    {51.76, 52.92, 51.59, 52.04, 581.0},
    {52.04, 52.73, 50.37, 51.28, 181.0},
    {51.28, 53.04, 50.27, 51.62, 239.0},
    {51.62, 52.53, 50.87, 52.23, 727.0},
    {52.23, 53.55, 50.68, 51.23, 580.0},
    {51.23, 51.3, 48.86, 49.74, 324.0},
    {49.74, 52.28, 49.26, 51.17, kNaN},
    {51.17, 52.45, 49.81, 50.56, 106.0},
    {50.56, 52.01, 49.11, 51.0, 387.0},
    {51.0, 51.18, 49.71, 50.73, 431.0},
    {50.73, 52.82, 50.6, 52.14, 191.0},
    {52.14, 53.84, 51.19, 53.13, 584.0},
    {53.13, 54.54, 51.88, 52.06, 810.0},
    {52.06, 53.14, 51.38, 52.47, 999.0},
    {52.47, 52.88, 50.82, 51.5, 468.0},
    {51.5, 53.33, 50.67, 52.92, 101.0},
    {52.92, 53.91, 51.64, 51.81, 895.0},
    {51.81, 53.27, 49.59, 51.02, 618.0},
    {51.02, 53.57, 50.87, 52.49, 468.0},
    {52.49, 54.13, 52.23, 53.37, 142.0},
    {53.37, 55.63, 52.0, 54.22, 834.0},
    {54.22, 54.78, 52.57, 53.57, 499.0},
    {53.57, 54.29, 52.5, 53.19, 472.0},
    {53.19, 53.42, 52.03, 52.17, 630.0},
    {52.17, 52.92, 50.4, 51.53, 788.0},
    {51.53, 53.34, 51.22, 52.93, 173.0},
    {52.93, 54.29, 51.44, 52.11, 702.0},
    {52.11, 53.43, 51.03, 51.19, 624.0},
    {51.19, 52.67, 50.26, 50.6, 210.0},
};

struct Point {
    std::size_t bar;
    std::vector<double> values;  // the value, or every named output in order (the first is the value)
};

struct Case {
    const char* kind;
    std::vector<double> params;
    std::size_t first;  // index of the first bar with a value
    std::vector<Point> points;
};

const std::vector<Case>& cases() {
    static const std::vector<Case> table = {
    {"ChaikinMoneyFlow", {5}, 4,
     {{4, {0x1.8d051b26b0651p-3}}, {20, {0x1.7f4043880b824p-3}}, {31, {0x1.05a5ae4695909p-6}},
      {42, {-0x1.2700b8b5993b5p-6}}, {63, {-0x1.a9f67cf29c8f2p-2}}}},
    {"ChaikinOscillator", {3, 10}, 9,
     {{9, {0x1.071e17992d234p+7}}, {20, {0x1.108f4331b35c4p+8}}, {31, {0x1.625713990ca30p+8}},
      {42, {-0x1.99654108b3000p+3}}, {63, {-0x1.388422c213a60p+9}}}},
    {"Kvo", {4, 9}, 9,
     {{9, {-0x1.828ebd44eb57fp+14}}, {20, {-0x1.70e858edb93f4p+13}}, {31, {-0x1.7bd7bf367fa4ap+13}},
      {42, {-0x1.6da4bd00aa6b8p+13}}, {63, {-0x1.a58b3e85e42d0p+11}}}},
    {"ForceIndex", {3}, 3,
     {{3, {0x1.865f92c5f92b5p+6}}, {20, {-0x1.49cb0aafc962ap+7}}, {31, {-0x1.b7783a00392dcp+6}},
      {42, {-0x1.dcbff28961546p+6}}, {63, {-0x1.21283a8342745p+8}}}},
    {"ForceIndex", {1}, 1,
     {{1, {-0x1.d6147ae147aa2p+7}}, {20, {-0x1.b53d70a3d70a1p+8}}, {31, {-0x1.aca3d70a3d731p+7}},
      {42, {0x1.5bae147ae147dp+6}}, {63, {-0x1.ef99999999963p+6}}}},
    {"EaseOfMovement", {4}, 4,
     {{4, {0x1.50259c1e71e64p+13}}, {20, {0x1.a6a90d57afd0ep+15}}, {31, {0x1.88c7eee945052p+17}},
      {42, {0x1.3cf1006e09a60p+18}}, {63, {-0x1.e7da8df5d1f00p+14}}}},
    {"Mfi", {5}, 5,
     {{5, {0x1.e9e8a7acb74f7p+5}}, {20, {0x1.1ec4ddaf5f052p+5}}, {31, {0x1.7f52af75b1413p+5}},
      {42, {0x1.b43b32fa14aedp+5}}, {63, {0x1.1b963f772544ap+5}}}},
    {"BetterVolume", {6}, 5,
     {{5, {1.0}}, {20, {2.0}}, {31, {0.0}},
      {42, {1.0}}, {63, {0.0}}}},
    {"RollingVwap", {5}, 4,
     {{4, {0x1.852c98d5f4117p+5}}, {20, {0x1.6f8f047e5ac62p+5}}, {31, {0x1.8dc29388f1531p+5}},
      {42, {0x1.9bbf41d92b0bfp+5}}, {63, {0x1.9fe65786fed84p+5}}}},
    {"TradeVolumeIndex", {0.5}, 1,
     {{1, {-452.0}}, {20, {-4209.0}}, {31, {-1569.0}},
      {42, {-104.0}}, {63, {-4508.0}}}},
    {"Tsv", {6}, 6,
     {{6, {0x1.466a3d70a3d5bp+9}}, {20, {-0x1.01bf5c28f5c1cp+10}}, {31, {0x1.97cf5c28f5c0cp+8}},
      {42, {-0x1.2655c28f5c28fp+9}}, {63, {-0x1.104ae147ae147p+11}}}},
    {"TwiggsMoneyFlow", {5}, 5,
     {{5, {0x1.313f4ed9e25aap-2}}, {20, {0x1.26bd7d73bd775p-3}}, {31, {0x1.809a0038bdf45p-3}},
      {42, {-0x1.d4fda77abb13fp-5}}, {63, {-0x1.abef38dd0d76fp-2}}}},
    {"VolumeOscillator", {3, 8}, 7,
     {{7, {-0x1.06ac7b54b65e8p+6}}, {20, {0x1.aec627f3a8691p+0}}, {31, {-0x1.53b948e105c0cp+3}},
      {42, {-0x1.498f4bac46d7bp+4}}, {63, {-0x1.8fce063f38190p-5}}}},
    {"Vzo", {5}, 5,
     {{5, {0x1.8b93c1f3ff8c1p+4}}, {20, {-0x1.ab565a0f90cc2p+5}}, {31, {-0x1.22d4e12b9becdp+2}},
      {42, {-0x1.f6757134b0bccp+0}}, {63, {-0x1.55b90bf7cfd84p+6}}}},
    {"MurreyMathLines", {7}, 6,
     {{6,
       {0x1.9400000000000p+5, 0x1.8f87ae147ae14p+5, 0x1.8b0f5c28f5c29p+5,
        0x1.86970a3d70a3ep+5, 0x1.821eb851eb852p+5, 0x1.7da6666666666p+5,
        0x1.792e147ae147bp+5, 0x1.74b5c28f5c290p+5, 0x1.703d70a3d70a4p+5}},
      {20,
       {0x1.81eb851eb851fp+5, 0x1.7cf3333333334p+5, 0x1.77fae147ae148p+5,
        0x1.73028f5c28f5cp+5, 0x1.6e0a3d70a3d71p+5, 0x1.6911eb851eb86p+5,
        0x1.641999999999ap+5, 0x1.5f2147ae147aep+5, 0x1.5a28f5c28f5c3p+5}},
      {31,
       {0x1.9deb851eb851fp+5, 0x1.98851eb851eb9p+5, 0x1.931eb851eb852p+5,
        0x1.8db851eb851ecp+5, 0x1.8851eb851eb86p+5, 0x1.82eb851eb851fp+5,
        0x1.7d851eb851eb9p+5, 0x1.781eb851eb852p+5, 0x1.72b851eb851ecp+5}},
      {42,
       {0x1.ac66666666666p+5, 0x1.a7b5c28f5c28fp+5, 0x1.a3051eb851eb8p+5,
        0x1.9e547ae147ae1p+5, 0x1.99a3d70a3d70ap+5, 0x1.94f3333333333p+5,
        0x1.90428f5c28f5cp+5, 0x1.8b91eb851eb85p+5, 0x1.86e147ae147aep+5}},
      {63,
       {0x1.b251eb851eb85p+5, 0x1.ae4a3d70a3d70p+5, 0x1.aa428f5c28f5cp+5,
        0x1.a63ae147ae148p+5, 0x1.a233333333333p+5, 0x1.9e2b851eb851ep+5,
        0x1.9a23d70a3d70ap+5, 0x1.961c28f5c28f6p+5, 0x1.92147ae147ae1p+5}}}},
    {"VolatilityCone", {5, 6}, 10,
     {{10,
       {0x1.ecac997b8f6bbp-7, 0x1.ecac997b8f6bbp-7, 0x1.3394faef6b3d8p-6,
        0x1.60708335de79dp-6, 0x1.0aaaaaaaaaaaap+4}},
      {20,
       {0x1.e3adfd386bd06p-7, 0x1.453c59d3514e0p-7, 0x1.b0042d1469109p-7,
        0x1.93a947f52149bp-6, 0x1.0aaaaaaaaaaaap+6}},
      {31,
       {0x1.3e8f1a5ee7b5bp-6, 0x1.dc31829cd7f8dp-7, 0x1.1165ee70f381ap-6,
        0x1.3e8f1a5ee7b5bp-6, 100.0}},
      {42,
       {0x1.4d28eedd3003cp-6, 0x1.4a757e7f431a6p-7, 0x1.076fbd76e675bp-6,
        0x1.4d28eedd3003cp-6, 100.0}},
      {63,
       {0x1.3047f6985b48ep-6, 0x1.b9bb1fe5ca9afp-7, 0x1.2d4b626b50e32p-6,
        0x1.3ea93fa504874p-6, 0x1.0aaaaaaaaaaaap+6}}}},
    {"VolumeWeightedSr", {4}, 3,
     {{3, {0x1.798cac5c7be2dp+5, 0x1.8fd1201b7053dp+5}},
      {20, {0x1.65759d6fed14fp+5, 0x1.776b851eb851fp+5}},
      {31, {0x1.86f1a83f7974bp+5, 0x1.9a100115c4bafp+5}},
      {42, {0x1.92ef82d528d00p+5, 0x1.a5171771fef35p+5}},
      {63, {0x1.98fbf7aef15cdp+5, 0x1.ad7232a79d664p+5}}}},
    };
    return table;
}

std::string bits(double x) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%a", x);
    return buf;
}

}  // namespace

TEST(CandleVolumeReference, MatchesIndependentModelBitForBit) {
    for (const Case& k : cases()) {
        SCOPED_TRACE(std::string(k.kind) + " " + std::to_string(k.params[0]));
        auto built = build_indicator(k.kind, k.params);
        ASSERT_TRUE(built.has_value());
        std::unique_ptr<Indicator> ind = std::move(*built);
        // No invalid bar lies before the first value, so it comes at the warm-up.
        EXPECT_EQ(k.first + 1, ind->warmup_period());
        std::size_t next = 0;
        for (std::size_t i = 0; i < std::size(kBars); ++i) {
            FeedSnapshot s;
            s.candle = Candle{static_cast<std::int64_t>(i), kBars[i].o, kBars[i].h, kBars[i].l, kBars[i].c, kBars[i].v};
            const std::optional<double> got = ind->update(s);
            if (i < k.first || i == 30 || i == 41) {
                EXPECT_FALSE(got.has_value()) << "bar " << i;
                if (i < k.first) EXPECT_TRUE(ind->outputs().empty()) << "bar " << i;
            }
            if (next == k.points.size() || k.points[next].bar != i) continue;
            const Point& p = k.points[next++];
            if (next < k.points.size() && k.points[next].bar == i) ++next;  // the first value repeated
            ASSERT_TRUE(got.has_value()) << "bar " << i;
            EXPECT_EQ(bits(*got), bits(p.values[0])) << "bar " << i;
            auto outs = ind->outputs();
            if (p.values.size() == 1) {
                EXPECT_TRUE(outs.empty());
                continue;
            }
            ASSERT_EQ(outs.size(), p.values.size());
            for (std::size_t j = 0; j < outs.size(); ++j)
                EXPECT_EQ(bits(outs[j].value), bits(p.values[j])) << "bar " << i << " output " << outs[j].name;
        }
        EXPECT_EQ(next, k.points.size());
    }
}
