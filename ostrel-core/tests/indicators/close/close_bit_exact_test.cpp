// Bit-exact values of the close-series kinds on a short mixed series. The expected
// values come from a separate, literal transcription of each kind's arithmetic (same
// operation order, same fused steps, same starting sums), not from this library, so
// any change of grouping, fusing or zero sign shows here.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "support/close_series_support.hpp"

using namespace closetest;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

struct KindCase {
    const char* kind;
    std::vector<double> params;
    std::size_t first;          // 0-based update of the first value (NaN and inf included)
    std::vector<double> last4;  // the last four values
};

const std::vector<double> kCloses = {
    25.37, 24.84, 27.07, 23.66, 22.49, 22.49, 22.69, 19.28, 19.28, 15.87, 14.7, 16.93, kNaN, 19.16, 17.99,
    17.99, 16.82, 19.05, 15.64, 14.47, 14.47, 11.06, 13.29, 9.88, 9.88, 6.47, 5.94, kInf, 6.73, 8.96, 8.43,
    7.26, 8.05, 7.52, 6.35, 6.35, 7.72, 6.55, 5.38, 1.97, 1.97, 5.94, 8.17, 9.54, 13.51, 17.48};
const std::vector<KindCase> kExpected = {
    {"Dema", {4.0}, 6, {0x1.ab738f8016b9ep+2, 0x1.15cb6a5a11ebap+3, 0x1.82900a3f1d4acp+3, 0x1.012c4796453c6p+4}},
    {"Tema", {3.0}, 6, {0x1.00db622140014p+3, 0x1.37a817f3010e2p+3, 0x1.ac7cb926ef8c2p+3, 0x1.1753e618a2253p+4}},
    {"T3", {3.0, 0.7}, 13, {0x1.465bf51100110p+2, 0x1.c49481f4ad1d4p+2, 0x1.392ff30e360e4p+3, 0x1.a6b784bbcf178p+3}},
    {"GeneralizedDema", {4.0, 0.35}, 6, {0x1.8dccc17c17ef0p+2, 0x1.f61dee1fa7f32p+2, 0x1.53ff93346742ep+3, 0x1.c04688b108efap+3}},
    {"Zlema", {6.0}, 7, {0x1.cba000e3cbd07p+2, 0x1.1c49f78a683e0p+3, 0x1.776808960ff1cp+3, 0x1.f48f105f7c076p+3}},
    {"Hma", {6.0}, 6, {0x1.8f6bc3890560bp+2, 0x1.2f4f2825b5903p+3, 0x1.953b53b53b554p+3, 0x1.0776d106aa04fp+4}},
    {"Ehma", {6.0}, 6, {0x1.71ed367c1e4b6p+2, 0x1.fc3e434032897p+2, 0x1.63895a1d62f6ap+3, 0x1.e04e8127debfbp+3}},
    {"Kama", {5.0, 2.0, 30.0}, 5, {0x1.81d5d16d2c109p+2, 0x1.9514fdaa344aep+2, 0x1.30aa3d5c389f9p+3, 0x1.a1dcdef5cb430p+3}},
    {"Vidya", {6.0, 4.0}, 4, {0x1.72bbdabf46b9bp+2, 0x1.b7416d6fc1e0cp+2, 0x1.1865a13ba972ap+3, 0x1.6819c8031e564p+3}},
    {"Frama", {8.0}, 7, {0x1.8d345fa943317p+2, 0x1.9238d23d7c681p+2, 0x1.6d604a8843231p+3, 0x1.17ae147ae147bp+4}},
    {"Jma", {7.0, 40.0, 3.0}, 0, {0x1.bd36b5acad6f6p+2, 0x1.1e04a56067229p+3, 0x1.84f74f1546df2p+3, 0x1.00bd18a9a5293p+4}},
    {"Alma", {7.0, 0.85, 6.0}, 6, {0x1.52b63842fc594p+2, 0x1.de12c0ce8ad7ep+2, 0x1.3f0282b335158p+3, 0x1.a546e9c8ef5fep+3}},
    {"McGinleyDynamic", {5.0}, 4, {0x1.555d186bc3657p+0, 0x1.55a186089f931p+0, 0x1.55bad864e6b0dp+0, 0x1.55c6d727b9336p+0}},
    {"HoltWinters", {0.4, 0.25}, 1, {0x1.55b125dbab2f2p+2, 0x1.e110ba7accf40p+2, 0x1.6056e3d4915e1p+3, 0x1.eaf107460b285p+3}},
    {"Mama", {0.5, 0.05}, 34, {0x1.c6ec99f586a6ap+2, 0x1.ceb4bd44e5ce7p+2, 0x1.e2cd7e8ec3c9cp+2, 0x1.014c9e29b3870p+3}},
    {"Fama", {0.5, 0.05}, 34, {0x1.2281f88bb09ecp+3, 0x1.2107617f757a3p+3, 0x1.1fd690a474fcdp+3, 0x1.1f131dc7c9c04p+3}},
    {"BollingerBandwidth", {6.0, 2.0}, 5, {0x1.d81ac5a313bc7p+0, 0x1.0920d75f7040fp+1, 0x1.33dd1a0eff430p+1, 0x1.102001c20ce50p+1}},
    {"PercentB", {6.0, 1.5}, 5, {0x1.eb18a62238a52p-1, 0x1.f29cd644dc6d8p-1, 0x1.09fab218a3547p+0, 0x1.08e678a19e0d8p+0}},
    {"MidPoint", {5.0}, 4, {0x1.447ae147ae148p+2, 0x1.7051eb851eb85p+2, 0x1.ef5c28f5c28f6p+2, 0x1.76b851eb851ecp+3}},
    {"Variance", {7.0}, 6, {0x1.5d3d8c7598d4cp+2, 0x1.c4e24431b86dbp+2, 0x1.d9cc280615e26p+3, 0x1.c60bfcb094536p+4}},
    {"StdDev", {7.0}, 6, {0x1.2b01f27dc6b37p+1, 0x1.547f411b20bc6p+1, 0x1.ec874b11aaf56p+1, 0x1.54ef1a1dab048p+2}},
    {"ZScore", {7.0}, 6, {0x1.3120aa9b40649p+0, 0x1.76c503f37ac63p+0, 0x1.c90fed068886dp+0, 0x1.b5dc604bac887p+0}},
    {"CoefficientOfVariation", {7.0}, 6, {0x1.bc2633e9aef63p-2, 0x1.e27c5a2ebb57ap-2, 0x1.28b4336416cb6p-1, 0x1.45eb20651468ap-1}},
    {"Skewness", {7.0}, 6, {-0x1.f4eddc6dc7b17p-2, -0x1.6c3baba0a7e01p-3, 0x1.7753cc7870810p-2, 0x1.582ac929b5a2bp-2}},
    {"Kurtosis", {8.0}, 7, {-0x1.e97bab103a39cp-1, -0x1.0d7490e233a0fp+0, -0x1.23691a210dac0p-1, -0x1.995d608c735dcp-1}},
    {"JarqueBera", {8.0}, 7, {0x1.c5880e16884adp-1, 0x1.2ea14f945c1cap-1, 0x1.4a4eeea5c1836p-2, 0x1.303f100ed0f52p-1}},
    {"LinRegSlope", {6.0}, 5, {0x1.1e2285ff6a33dp-2, 0x1.3d38775e80257p+0, 0x1.2e39eddc4e68cp+1, 0x1.73ace8e30911dp+1}},
    {"LinRegAngle", {6.0}, 5, {0x1.f3948908ecb07p+3, 0x1.98c4e63c08446p+5, 0x1.0c2f4c75946e8p+6, 0x1.1bfce94c75b9ep+6}},
    {"LinRegIntercept", {6.0}, 5, {0x1.1313fe0cad97ap+2, 0x1.32d593bfa2609p+1, 0x1.e4efe898231c0p-1, 0x1.167dce434a9b3p+1}},
    {"LinearRegression", {6.0}, 5, {0x1.6c7ec7ec7ec7dp+2, 0x1.12f8af8af8af9p+3, 0x1.981767dce434bp+3, 0x1.0b1bcb564efe8p+4}},
    {"Tsf", {6.0}, 5, {0x1.7e60f04c756b1p+2, 0x1.3a9fbe76c8b43p+3, 0x1.e3a5e353f7ceep+3, 0x1.39916872b020cp+4}},
    {"RSquared", {6.0}, 5, {0x1.5f8b8e29cf621p-5, 0x1.1b32fa23d4141p-1, 0x1.eabb09e35ce08p-1, 0x1.f4b4fe1a1dd90p-1}},
    {"StandardError", {6.0}, 5, {0x1.614e1a2a672f7p+1, 0x1.2a326df25ec75p+1, 0x1.07367dc614a95p+0, 0x1.d3026a9889b19p-1}},
    {"DetrendedStdDev", {6.0}, 5, {0x1.2078eee700898p+1, 0x1.e6f42221b5607p+0, 0x1.add325c461217p-1, 0x1.7d4fc5b0081a9p-1}},
    {"RollingQuantile", {7.0, 0.3}, 6, {0x1.2cac083126e97p+2, 0x1.2cac083126e97p+2, 0x1.2cac083126e97p+2, 0x1.495810624dd2fp+2}},
    {"RollingIqr", {8.0}, 7, {0x1.2851eb851eb84p+1, 0x1.a70a3d70a3d70p+1, 0x1.fe147ae147ae0p+1, 0x1.8051eb851eb84p+2}},
    {"MedianAbsoluteDeviation", {6.0}, 5, {0x1.b333333333332p+0, 0x1.8cccccccccccdp+1, 0x1.e47ae147ae147p+1, 0x1.e47ae147ae147p+1}},
    {"RollingPercentileRank", {7.0}, 6, {0x1.736db6db6db6ep+6, 0x1.736db6db6db6ep+6, 0x1.736db6db6db6ep+6, 0x1.736db6db6db6ep+6}},
    {"RollingMinMaxScaler", {7.0}, 6, {0x1.0000000000000p+0, 0x1.0000000000000p+0, 0x1.0000000000000p+0, 0x1.0000000000000p+0}},
};

}  // namespace

TEST(CloseBitExact, MixedSeries) {
    for (const auto& e : kExpected) {
        auto v = run(e.kind, e.params, kCloses);
        ASSERT_EQ(v.size(), kCloses.size()) << e.kind;
        std::vector<double> got;
        for (std::size_t i = 0; i < v.size(); ++i) {
            EXPECT_EQ(v[i].has_value(), i >= e.first && std::isfinite(kCloses[i])) << e.kind << " at " << i;
            if (v[i]) got.push_back(*v[i]);
        }
        ASSERT_GE(got.size(), 4u) << e.kind;
        for (std::size_t k = 0; k < 4; ++k) {
            double g = got[got.size() - 4 + k];
            EXPECT_TRUE(same_bits(g, e.last4[k])) << e.kind << " value " << k << ": " << std::hexfloat << g
                                                   << " want " << e.last4[k];
        }
    }
}

TEST(CloseBitExact, SignOfZero) {
    // q = -0: pos = -0, floor(pos) = -0, so the fraction is +0 and -0 + (+0 x 1) = +0.
    EXPECT_FALSE(std::signbit(*run("RollingQuantile", {2, -0.0}, {-0.0, 1.0})[1]));
    // The McGinley seed sum starts at +0: -0 + +0 = +0.
    EXPECT_FALSE(std::signbit(*run("McGinleyDynamic", {1}, {-0.0})[0]));
    // The ALMA value sum starts at +0: +0 + (-0 x 1) = +0.
    EXPECT_FALSE(std::signbit(*run("Alma", {1, 0.5, 1}, {-0.0})[0]));
}

TEST(CloseBitExact, HigherMomentsOnATrend) {
    // A steep trend moves the window mean far from the anchor between rebuilds, so
    // the mean terms of the moment formulas weigh on the last bit.
    const std::vector<double> c = {98.95, 106.28, 111.68, 118.72, 124.9, 128.76, 134.65, 144.05, 147.84, 153.84,
                                   162.98, 166.98, 174.55, 179.21, 185.96, 190.1, 198.14, 205.17, 209.89, 216.87};
    const std::vector<std::pair<const char*, std::vector<double>>> want = {
        {"Skewness", {-0x1.a14b543d04185p-4, -0x1.4ebb28e933f0dp-3, 0x1.1807c4bbe2faap-4, 0x1.4cc54c55d3f6bp-4,
                      0x1.5207d20f417b9p-4, 0x1.ecd02cff5a98fp-7}},
        {"Kurtosis", {-0x1.5289e2df89f1dp+0, -0x1.39f8ac15dbe75p+0, -0x1.171e971ab65bfp+0, -0x1.2c6f2f6202cd6p+0,
                      -0x1.3a2c96c06694dp+0, -0x1.4e3fd4c4711acp+0}},
    };
    for (const auto& [kind, last6] : want) {
        auto v = run(kind, {kind == std::string("Skewness") ? 7.0 : 8.0}, c);
        for (std::size_t k = 0; k < 6; ++k) {
            const auto& g = v[c.size() - 6 + k];
            ASSERT_TRUE(g.has_value()) << kind;
            EXPECT_TRUE(same_bits(*g, last6[k])) << kind << " value " << k << ": " << std::hexfloat << *g;
        }
    }
}
