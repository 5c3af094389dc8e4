// Candle-series kinds checked against values computed independently of the code
// under test: loops written again from each definition in this file (compared bit
// for bit where the order of operations is followed exactly, else within a
// tolerance), and values computed beforehand with TA-Lib for the same candles
// (within a tolerance, at the end of the series, where its different start-up has
// decayed).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"

using namespace ostrel;

namespace {

struct Bar {
    double o, h, l, c, v;
};

// A random walk of 160 bars, prices rounded to cents.
const Bar kBars[] = {
    {100.0, 100.31, 99.55, 99.69, 582.0},
    {99.69, 99.83, 99.16, 99.31, 557.0},
    {99.31, 100.7, 99.07, 100.55, 482.0},
    {100.55, 100.91, 100.28, 100.77, 301.0},
    {100.77, 101.82, 98.21, 98.74, 979.0},
    {98.74, 99.88, 97.84, 98.18, 361.0},
    {98.18, 98.79, 97.78, 98.55, 263.0},
    {98.55, 101.36, 98.13, 100.61, 435.0},
    {100.61, 100.67, 99.82, 100.2, 712.0},
    {100.2, 100.97, 99.97, 100.5, 627.0},
    {100.5, 100.65, 99.27, 99.53, 320.0},
    {99.53, 100.18, 97.41, 97.74, 888.0},
    {97.74, 98.23, 97.31, 97.61, 476.0},
    {97.61, 97.63, 97.2, 97.54, 540.0},
    {97.54, 99.49, 97.47, 99.27, 888.0},
    {99.27, 99.63, 96.86, 97.71, 635.0},
    {97.71, 98.03, 95.78, 96.55, 527.0},
    {96.55, 96.66, 93.93, 94.11, 731.0},
    {94.11, 95.62, 91.62, 91.83, 447.0},
    {91.83, 91.89, 90.84, 90.95, 516.0},
    {90.95, 91.5, 89.99, 91.24, 216.0},
    {91.24, 91.99, 90.64, 91.98, 884.0},
    {91.98, 93.45, 90.8, 93.13, 837.0},
    {93.13, 93.45, 92.0, 92.37, 474.0},
    {92.37, 93.34, 90.47, 90.8, 259.0},
    {90.8, 90.85, 90.19, 90.62, 536.0},
    {90.62, 90.87, 89.2, 89.83, 432.0},
    {89.83, 91.22, 89.23, 89.86, 721.0},
    {89.86, 89.94, 88.11, 88.2, 910.0},
    {88.2, 88.43, 86.64, 87.84, 818.0},
    {87.84, 88.22, 86.22, 86.9, 156.0},
    {86.9, 88.3, 86.73, 87.93, 246.0},
    {87.93, 88.1, 87.38, 87.72, 191.0},
    {87.72, 87.81, 87.62, 87.72, 887.0},
    {87.72, 87.94, 87.2, 87.21, 428.0},
    {87.21, 89.16, 86.4, 88.32, 994.0},
    {88.32, 88.47, 86.73, 86.97, 408.0},
    {86.97, 87.36, 85.85, 87.26, 245.0},
    {87.26, 90.39, 86.93, 90.18, 589.0},
    {90.18, 90.9, 89.94, 90.06, 981.0},
    {90.06, 91.97, 90.02, 91.27, 250.0},
    {91.27, 92.51, 90.54, 92.41, 801.0},
    {92.41, 92.78, 91.34, 92.0, 867.0},
    {92.0, 92.38, 87.74, 88.78, 766.0},
    {88.78, 89.71, 88.69, 88.99, 125.0},
    {88.99, 89.31, 88.53, 89.22, 723.0},
    {89.22, 90.66, 87.57, 90.48, 960.0},
    {90.48, 90.76, 88.78, 89.1, 304.0},
    {89.1, 89.75, 88.18, 89.37, 856.0},
    {89.37, 90.24, 87.45, 87.56, 820.0},
    {87.56, 89.53, 86.68, 89.08, 775.0},
    {89.08, 89.45, 87.9, 87.95, 810.0},
    {87.95, 88.89, 86.29, 86.88, 461.0},
    {86.88, 87.79, 86.35, 86.67, 253.0},
    {86.67, 87.4, 85.77, 87.15, 232.0},
    {87.15, 87.93, 84.44, 85.93, 692.0},
    {85.93, 86.54, 84.97, 85.04, 974.0},
    {85.04, 85.62, 84.45, 85.19, 940.0},
    {85.19, 85.68, 82.78, 82.97, 327.0},
    {82.97, 83.09, 81.81, 82.24, 628.0},
    {82.24, 82.86, 81.28, 82.17, 418.0},
    {82.17, 84.87, 81.96, 84.1, 914.0},
    {84.1, 84.74, 81.0, 81.74, 571.0},
    {81.74, 82.38, 81.64, 81.72, 265.0},
    {81.72, 83.9, 81.4, 83.87, 753.0},
    {83.87, 85.57, 83.68, 85.07, 567.0},
    {85.07, 85.43, 82.49, 83.09, 324.0},
    {83.09, 84.21, 82.07, 84.04, 557.0},
    {84.04, 84.42, 81.61, 82.16, 651.0},
    {82.16, 82.88, 81.45, 81.48, 723.0},
    {81.48, 81.7, 78.64, 80.06, 729.0},
    {80.06, 81.47, 79.06, 80.45, 334.0},
    {80.45, 80.98, 77.6, 77.77, 209.0},
    {77.77, 77.99, 77.14, 77.22, 317.0},
    {77.22, 79.22, 76.95, 78.82, 239.0},
    {78.82, 79.01, 75.46, 76.32, 229.0},
    {76.32, 79.7, 76.04, 78.65, 458.0},
    {78.65, 83.37, 78.5, 81.56, 849.0},
    {81.56, 82.77, 81.02, 82.23, 276.0},
    {82.23, 82.63, 81.25, 82.12, 118.0},
    {82.12, 82.34, 80.36, 80.9, 662.0},
    {80.9, 81.24, 80.88, 81.02, 987.0},
    {81.02, 83.34, 80.65, 81.78, 136.0},
    {81.78, 82.45, 81.31, 82.36, 217.0},
    {82.36, 82.98, 79.84, 80.03, 234.0},
    {80.03, 80.71, 78.81, 79.19, 730.0},
    {79.19, 79.65, 78.95, 79.54, 165.0},
    {79.54, 80.33, 78.05, 78.37, 821.0},
    {78.37, 81.0, 77.28, 80.41, 508.0},
    {80.41, 81.78, 79.76, 81.38, 934.0},
    {81.38, 81.69, 80.87, 81.31, 199.0},
    {81.31, 81.41, 81.0, 81.16, 282.0},
    {81.16, 81.63, 80.74, 80.77, 550.0},
    {80.77, 81.01, 79.28, 79.78, 116.0},
    {79.78, 79.89, 79.7, 79.78, 271.0},
    {79.78, 81.16, 78.05, 78.27, 196.0},
    {78.27, 79.39, 77.13, 78.81, 454.0},
    {78.81, 79.79, 78.77, 78.88, 984.0},
    {78.88, 79.83, 77.4, 77.63, 464.0},
    {77.63, 77.75, 75.83, 75.99, 217.0},
    {75.99, 78.19, 75.98, 77.77, 176.0},
    {77.77, 79.15, 76.75, 78.49, 703.0},
    {78.49, 78.93, 78.13, 78.31, 242.0},
    {78.31, 80.03, 78.15, 79.59, 966.0},
    {79.59, 81.21, 79.54, 81.08, 379.0},
    {81.08, 84.21, 81.06, 84.19, 443.0},
    {84.19, 84.3, 82.57, 82.79, 104.0},
    {82.79, 84.17, 82.53, 84.15, 460.0},
    {84.15, 84.43, 84.0, 84.4, 627.0},
    {84.4, 86.2, 84.22, 85.22, 692.0},
    {85.22, 86.43, 84.29, 84.7, 986.0},
    {84.7, 85.95, 83.92, 85.38, 679.0},
    {85.38, 87.88, 84.72, 87.57, 760.0},
    {87.57, 87.7, 86.21, 86.51, 571.0},
    {86.51, 86.54, 83.85, 84.23, 626.0},
    {84.23, 84.94, 81.55, 82.12, 724.0},
    {82.12, 82.31, 81.74, 82.16, 194.0},
    {82.16, 83.39, 81.5, 83.0, 665.0},
    {83.0, 83.65, 81.68, 81.73, 818.0},
    {81.73, 81.75, 81.02, 81.74, 582.0},
    {81.74, 81.93, 81.46, 81.5, 167.0},
    {81.5, 81.59, 79.62, 80.59, 285.0},
    {80.59, 82.22, 79.79, 80.38, 531.0},
    {80.38, 80.83, 79.44, 80.42, 655.0},
    {80.42, 80.61, 79.84, 80.12, 769.0},
    {80.12, 81.11, 79.39, 80.85, 111.0},
    {80.85, 81.91, 80.42, 81.73, 708.0},
    {81.73, 81.91, 79.4, 80.1, 518.0},
    {80.1, 80.16, 79.2, 79.51, 980.0},
    {79.51, 79.61, 78.97, 79.01, 513.0},
    {79.01, 81.78, 78.56, 80.35, 289.0},
    {80.35, 81.04, 80.21, 80.65, 623.0},
    {80.65, 82.14, 80.34, 81.57, 838.0},
    {81.57, 82.82, 81.31, 81.38, 733.0},
    {81.38, 82.95, 81.25, 81.68, 103.0},
    {81.68, 82.36, 81.65, 81.7, 372.0},
    {81.7, 82.83, 81.24, 82.4, 102.0},
    {82.4, 84.51, 81.25, 84.5, 208.0},
    {84.5, 86.62, 84.1, 86.2, 435.0},
    {86.2, 87.92, 84.25, 85.62, 630.0},
    {85.62, 86.11, 84.78, 84.81, 192.0},
    {84.81, 85.43, 84.39, 85.18, 942.0},
    {85.18, 85.65, 84.79, 85.18, 436.0},
    {85.18, 86.38, 84.79, 85.13, 831.0},
    {85.13, 86.1, 82.61, 83.32, 748.0},
    {83.32, 84.25, 82.47, 82.77, 506.0},
    {82.77, 83.66, 82.73, 82.8, 934.0},
    {82.8, 83.64, 82.31, 83.17, 409.0},
    {83.17, 84.11, 82.13, 82.59, 690.0},
    {82.59, 82.83, 81.72, 82.45, 455.0},
    {82.45, 83.11, 82.11, 82.8, 547.0},
    {82.8, 85.56, 81.52, 85.32, 997.0},
    {85.32, 85.42, 84.6, 84.69, 408.0},
    {84.69, 85.55, 84.45, 85.18, 333.0},
    {85.18, 85.71, 82.91, 82.91, 472.0},
    {82.91, 83.49, 81.58, 81.67, 404.0},
    {81.67, 82.74, 81.37, 82.56, 553.0},
    {82.56, 83.38, 81.56, 82.43, 294.0},
    {82.43, 82.88, 81.78, 82.31, 959.0},
    {82.31, 83.79, 81.32, 83.08, 120.0},
};

std::vector<Candle> sample() {
    std::vector<Candle> out;
    std::int64_t t = 0;
    for (const Bar& b : kBars) out.push_back(Candle{t += 60000, b.o, b.h, b.l, b.c, b.v});
    return out;
}

struct Trace {
    std::vector<std::optional<double>> values;
    std::vector<std::vector<NamedOutput>> outputs;

    double out(std::size_t i, std::string_view name) const {
        for (const NamedOutput& o : outputs[i])
            if (o.name == name) return o.value;
        ADD_FAILURE() << "no output " << name << " at " << i;
        return std::nan("");
    }
    std::size_t first() const {
        for (std::size_t i = 0; i < values.size(); ++i)
            if (values[i]) return i;
        return values.size();
    }
};

Trace run(std::string_view kind, std::vector<double> params, const std::vector<Candle>& candles) {
    Trace r;
    auto built = build_indicator(kind, params);
    EXPECT_TRUE(built.has_value()) << kind;
    if (!built) return r;
    Indicator& ind = **built;
    for (const Candle& c : candles) {
        FeedSnapshot s;
        s.candle = c;
        r.values.push_back(ind.update(s));
        auto o = ind.outputs();
        r.outputs.emplace_back(o.begin(), o.end());
    }
    return r;
}

double true_range(const Candle& c, const Candle* prev) {
    if (!prev) return c.high - c.low;
    return std::max({c.high - c.low, std::fabs(c.high - prev->close), std::fabs(c.low - prev->close)});
}

// Tolerance relative to the magnitude of the expected value.
void expect_near_rel(double got, double want, double rel, const char* what) {
    EXPECT_NEAR(got, want, rel * std::max(1.0, std::fabs(want))) << what;
}

}  // namespace

// The Wilder average true range written out: seeded with the mean of the first n
// true ranges (the first bar's high - low included), then fused or unfused.
std::vector<std::optional<double>> wilder_atr(const std::vector<Candle>& cs, std::size_t n, bool fused) {
    std::vector<std::optional<double>> out;
    const double nm1 = static_cast<double>(n) - 1.0, inv = 1.0 / static_cast<double>(n);
    double sum = 0.0, atr = 0.0;
    for (std::size_t i = 0; i < cs.size(); ++i) {
        double tr = true_range(cs[i], i ? &cs[i - 1] : nullptr);
        if (i + 1 < n) {
            sum += tr;
            out.push_back(std::nullopt);
            continue;
        }
        if (i + 1 == n) {
            sum += tr;
            atr = sum / static_cast<double>(n);
        } else {
            atr = fused ? std::fma(atr, nm1, tr) * inv : (atr * nm1 + tr) * inv;
        }
        out.push_back(atr);
    }
    return out;
}

TEST(CandleReference, AtrAndNatrFollowTheFusedWilderStep) {
    const auto cs = sample();
    auto want5 = wilder_atr(cs, 5, true), want10 = wilder_atr(cs, 10, true), plain10 = wilder_atr(cs, 10, false);
    Trace atr = run("Atr", {5}, cs), natr = run("Natr", {5}, cs), atr10 = run("Atr", {10}, cs);
    EXPECT_EQ(atr.values, want5);
    EXPECT_EQ(atr10.values, want10);
    EXPECT_NE(want10, plain10);  // the single rounding is visible on this data
    for (std::size_t i = 0; i < cs.size(); ++i) {
        if (!want5[i]) {
            EXPECT_FALSE(natr.values[i]);
            continue;
        }
        EXPECT_EQ(*natr.values[i], (100.0 * *want5[i]) / cs[i].close) << i;
    }
    // TA-Lib leaves out the first bar's range and seeds one bar later.
    const double ta_atr[] = {1.7831779017490879, 1.6465423213992691, 1.811233857119418};
    const double ta_natr[] = {2.163263255791687, 2.000415892843238, 2.18010815734162};
    for (std::size_t k = 0; k < 3; ++k) {
        expect_near_rel(*atr.values[157 + k], ta_atr[k], 1e-9, "ATR");
        expect_near_rel(*natr.values[157 + k], ta_natr[k], 1e-9, "NATR");
    }
}

TEST(CandleReference, DirectionalMovementFamily) {
    const auto cs = sample();
    const std::size_t n = 5;
    const double nf = 5.0;
    Trace pdm = run("PlusDm", {5}, cs), mdm = run("MinusDm", {5}, cs), pdi = run("PlusDi", {5}, cs),
        mdi = run("MinusDi", {5}, cs), dx = run("Dx", {5}, cs), adx = run("Adx", {5}, cs),
        adxr = run("Adxr", {5}, cs);
    double s_tr = 0, s_p = 0, s_m = 0;
    std::size_t count = 0;
    std::vector<double> dx_list, adx_hist;
    double adx_v = 0;
    bool adx_ready = false;
    for (std::size_t i = 0; i < cs.size(); ++i) {
        if (i == 0) {
            for (const Trace* r : {&pdm, &mdm, &pdi, &mdi, &dx, &adx, &adxr}) EXPECT_FALSE(r->values[0]);
            continue;
        }
        const Candle &c = cs[i], &p = cs[i - 1];
        double up = c.high - p.high, down = p.low - c.low;
        double pm = (up > down && up > 0) ? up : 0.0;
        double mm = (down > up && down > 0) ? down : 0.0;
        double tr = true_range(c, &p);
        if (count < n) {
            s_tr += tr;
            s_p += pm;
            s_m += mm;
            if (++count < n) {
                EXPECT_FALSE(pdm.values[i]) << i;
                EXPECT_FALSE(dx.values[i]) << i;
                continue;
            }
        } else {
            s_tr = tr + (s_tr - s_tr / nf);
            s_p = pm + (s_p - s_p / nf);
            s_m = mm + (s_m - s_m / nf);
        }
        double di_p = s_tr == 0 ? 0 : (s_p * 100) / s_tr;
        double di_m = s_tr == 0 ? 0 : (s_m * 100) / s_tr;
        double dxv = (di_p + di_m) == 0 ? 0 : (std::fabs(di_p - di_m) * 100) / (di_p + di_m);
        EXPECT_EQ(*pdm.values[i], s_p) << i;
        EXPECT_EQ(*mdm.values[i], s_m) << i;
        EXPECT_EQ(*pdi.values[i], di_p) << i;
        EXPECT_EQ(*mdi.values[i], di_m) << i;
        EXPECT_EQ(*dx.values[i], dxv) << i;
        if (!adx_ready) {
            dx_list.push_back(dxv);
            if (dx_list.size() < n) {
                EXPECT_FALSE(adx.values[i]) << i;
                continue;
            }
            double s = -0.0;
            for (double v : dx_list) s += v;
            adx_v = s / nf;
            adx_ready = true;
        } else {
            adx_v = (dxv + (nf - 1) * adx_v) / nf;
        }
        ASSERT_TRUE(adx.values[i]) << i;
        EXPECT_EQ(*adx.values[i], di_p) << i;  // the value is +DI
        EXPECT_EQ(adx.out(i, "plus_di"), di_p);
        EXPECT_EQ(adx.out(i, "minus_di"), di_m);
        EXPECT_EQ(adx.out(i, "adx"), adx_v) << i;
        adx_hist.push_back(adx_v);
        if (adx_hist.size() < n) {
            EXPECT_FALSE(adxr.values[i]) << i;
        } else {
            EXPECT_EQ(*adxr.values[i], (adx_v + adx_hist[adx_hist.size() - n]) * 0.5) << i;
        }
    }
    EXPECT_EQ(pdm.first(), 5u);
    EXPECT_EQ(adx.first(), 9u);
    EXPECT_EQ(adxr.first(), 13u);
    const double ta[7][3] = {
        {1.5366752565206556, 1.2293402052165245, 1.8934721641732304},
        {2.126758021911051, 1.7014064175288408, 1.3611251340230726},
        {17.23524338220385, 14.932385147219337, 20.908091539152256},
        {23.85357086160558, 20.666415863309812, 15.029811072412292},
        {16.107370342036255, 16.107370342036255, 16.356771095618637},
        {30.379375623670036, 27.524974567343282, 25.291333872998354},
        {33.268164915988805, 29.27745569425735, 28.77715692527083},
    };
    for (std::size_t k = 0; k < 3; ++k) {
        std::size_t i = 157 + k;
        expect_near_rel(*pdm.values[i], ta[0][k], 1e-9, "PLUS_DM");
        expect_near_rel(*mdm.values[i], ta[1][k], 1e-9, "MINUS_DM");
        expect_near_rel(*pdi.values[i], ta[2][k], 1e-9, "PLUS_DI");
        expect_near_rel(*mdi.values[i], ta[3][k], 1e-9, "MINUS_DI");
        expect_near_rel(*dx.values[i], ta[4][k], 1e-9, "DX");
        expect_near_rel(adx.out(i, "adx"), ta[5][k], 1e-9, "ADX");
        expect_near_rel(*adxr.values[i], ta[6][k], 1e-9, "ADXR");
    }
}

TEST(CandleReference, AroonAndMidPriceScanTheWindow) {
    const auto cs = sample();
    Trace aroon = run("Aroon", {14}, cs), osc = run("AroonOscillator", {14}, cs), mid = run("MidPrice", {10}, cs);
    for (std::size_t i = 0; i < cs.size(); ++i) {
        if (i < 14) {
            EXPECT_FALSE(aroon.values[i]);
            EXPECT_FALSE(osc.values[i]);
        } else {
            std::size_t hi = 0, lo = 0;
            for (std::size_t j = 0; j <= 14; ++j) {
                if (cs[i - 14 + j].high >= cs[i - 14 + hi].high) hi = j;
                if (cs[i - 14 + j].low <= cs[i - 14 + lo].low) lo = j;
            }
            double up = (hi * 100.0) / 14.0, down = (lo * 100.0) / 14.0;
            EXPECT_EQ(*aroon.values[i], up) << i;
            EXPECT_EQ(aroon.out(i, "down"), down) << i;
            EXPECT_EQ(*osc.values[i], up - down) << i;
        }
        if (i < 9) {
            EXPECT_FALSE(mid.values[i]);
        } else {
            double hh = -INFINITY, ll = INFINITY;
            for (std::size_t j = i - 9; j <= i; ++j) {
                hh = std::max(hh, cs[j].high);
                ll = std::min(ll, cs[j].low);
            }
            EXPECT_EQ(*mid.values[i], (hh + ll) * 0.5) << i;
        }
    }
    const double ta_up[] = {0.0, 0.0, 64.28571428571429}, ta_down[] = {92.85714285714286, 85.71428571428572, 100.0};
    const double ta_osc[] = {-92.85714285714286, -85.71428571428572, -35.714285714285715};
    const double ta_mid[] = {83.53999999999999, 83.53999999999999, 83.51499999999999};
    for (std::size_t k = 0; k < 3; ++k) {
        std::size_t i = 157 + k;
        expect_near_rel(*aroon.values[i], ta_up[k], 1e-12, "AROON up");
        expect_near_rel(aroon.out(i, "down"), ta_down[k], 1e-12, "AROON down");
        expect_near_rel(*osc.values[i], ta_osc[k], 1e-12, "AROONOSC");
        EXPECT_EQ(*mid.values[i], ta_mid[k]);
    }
}

TEST(CandleReference, ParabolicSarMatchesTaLib) {
    const auto cs = sample();
    Trace psar = run("Psar", {0.02, 0.02, 0.2}, cs);
    Trace ext = run("SarExt", {0, 0, 0.02, 0.02, 0.2, 0.03, 0.03, 0.3}, cs);
    EXPECT_FALSE(psar.values[0]);
    EXPECT_EQ(psar.first(), 1u);
    EXPECT_EQ(ext.first(), 1u);
    const double ta_sar[] = {85.5364, 85.369744, 85.20975424};
    const double ta_ext[] = {-85.44959999999999, -85.20482399999999, -84.97473455999999};
    for (std::size_t k = 0; k < 3; ++k) {
        expect_near_rel(*psar.values[157 + k], ta_sar[k], 1e-12, "SAR");
        expect_near_rel(*ext.values[157 + k], ta_ext[k], 1e-12, "SAREXT");
    }
    // With equal schedules and no offset the extended form has the same magnitudes.
    Trace same = run("SarExt", {0, 0, 0.02, 0.02, 0.2, 0.02, 0.02, 0.2}, cs);
    bool saw_short = false, saw_long = false;
    for (std::size_t i = 1; i < cs.size(); ++i) {
        EXPECT_EQ(std::fabs(*same.values[i]), *psar.values[i]) << i;
        (*same.values[i] < 0 ? saw_short : saw_long) = true;
    }
    EXPECT_TRUE(saw_short && saw_long);
}

namespace {

// Seeded exponential average written out: mean of the first n inputs (sum from +0),
// then alpha * x + (1 - alpha) * value, fused or not.
struct RefEma {
    std::size_t n;
    double alpha, oma;
    bool fused = true;
    double sum = 0.0, value = 0.0;
    std::size_t count = 0;
    RefEma(std::size_t n_, bool f = true) : n(n_), alpha(2.0 / (n_ + 1.0)), oma(1.0 - alpha), fused(f) {}
    std::optional<double> step(double x) {
        if (count >= n) {
            value = fused ? std::fma(alpha, x, oma * value) : alpha * x + oma * value;
            return value;
        }
        sum += x;
        if (++count == n) return value = sum / static_cast<double>(n);
        return std::nullopt;
    }
};

// Mean of the last n values of a series, summed afresh.
double window_mean(const std::vector<double>& v, std::size_t n) {
    double s = 0.0;
    for (std::size_t i = v.size() - n; i < v.size(); ++i) s += v[i];
    return s / static_cast<double>(n);
}

}  // namespace

TEST(CandleReference, ChoppinessHiLoTtmTrendAndAlligator) {
    const auto cs = sample();
    Trace chop = run("ChoppinessIndex", {14}, cs), hilo = run("HiLoActivator", {3}, cs),
          ttm = run("TtmTrend", {6}, cs), gator = run("Alligator", {13, 8, 5}, cs);
    std::vector<double> trs, mids;
    std::optional<std::pair<double, double>> prev_avg;
    bool up = true;
    struct Line {
        std::size_t n;
        double sum = 0, v = 0;
        std::size_t c = 0;
        bool step(double m) {
            if (c >= n) {
                v = (m + v * (n - 1.0)) / static_cast<double>(n);
                return true;
            }
            sum += m;
            if (++c == n) v = sum / static_cast<double>(n);
            return c == n;
        }
    } jaw{13}, teeth{8}, lips{5};
    for (std::size_t i = 0; i < cs.size(); ++i) {
        const Candle& c = cs[i];
        trs.push_back(true_range(c, i ? &cs[i - 1] : nullptr));
        double m = (c.high + c.low) * 0.5;
        mids.push_back(m);
        if (i >= 13) {
            double hh = -INFINITY, ll = INFINITY;
            for (std::size_t j = i - 13; j <= i; ++j) hh = std::max(hh, cs[j].high), ll = std::min(ll, cs[j].low);
            double want = std::log10(window_mean(trs, 14) * 14.0 / (hh - ll)) * 100.0 / std::log10(14.0);
            expect_near_rel(*chop.values[i], want, 1e-12, "choppiness");
        } else {
            EXPECT_FALSE(chop.values[i]);
        }
        if (i >= 2) {
            double ah = (cs[i - 2].high + cs[i - 1].high + c.high) / 3.0;
            double al = (cs[i - 2].low + cs[i - 1].low + c.low) / 3.0;
            if (prev_avg) {
                if (c.close > prev_avg->first) up = true;
                else if (c.close < prev_avg->second) up = false;
                expect_near_rel(*hilo.values[i], up ? prev_avg->second : prev_avg->first, 1e-13, "hilo");
            } else {
                EXPECT_FALSE(hilo.values[i]);
            }
            prev_avg = std::make_pair(ah, al);
        } else {
            EXPECT_FALSE(hilo.values[i]);
        }
        if (i >= 5) {
            double avg = window_mean(mids, 6);
            // Skip bars whose close lies within rounding of the average.
            if (std::fabs(c.close - avg) > 1e-9) EXPECT_EQ(*ttm.values[i], c.close > avg ? 1.0 : -1.0) << i;
        } else {
            EXPECT_FALSE(ttm.values[i]);
        }
        bool l = lips.step(m), t = teeth.step(m), j = jaw.step(m);
        if (l && t && j) {
            EXPECT_EQ(*gator.values[i], jaw.v) << i;
            EXPECT_EQ(gator.out(i, "teeth"), teeth.v) << i;
            EXPECT_EQ(gator.out(i, "lips"), lips.v) << i;
        } else {
            EXPECT_FALSE(gator.values[i]);
        }
    }
    EXPECT_EQ(gator.first(), 12u);
}

TEST(CandleReference, StochasticAgainstAFullScan) {
    const auto cs = sample();
    Trace st = run("Stochastic", {14, 3}, cs);
    std::vector<double> ks;
    for (std::size_t i = 0; i < cs.size(); ++i) {
        if (i < 13) {
            EXPECT_FALSE(st.values[i]);
            continue;
        }
        double hh = -INFINITY, ll = INFINITY;
        for (std::size_t j = i - 13; j <= i; ++j) hh = std::max(hh, cs[j].high), ll = std::min(ll, cs[j].low);
        double k = hh == ll ? 50.0 : ((cs[i].close - ll) * 100.0) / (hh - ll);
        ks.push_back(k);
        if (ks.size() < 3) {
            EXPECT_FALSE(st.values[i]);
            continue;
        }
        EXPECT_EQ(*st.values[i], k) << i;
        expect_near_rel(st.out(i, "d"), window_mean(ks, 3), 1e-12, "%D");
    }
    EXPECT_EQ(st.first(), 15u);
    const double ta_k[] = {22.410147991543436, 21.658986175115206, 40.09111617312084};
    const double ta_d[] = {16.41635425153663, 22.607209725546188, 28.053416779926454};
    for (std::size_t k = 0; k < 3; ++k) {
        expect_near_rel(*st.values[157 + k], ta_k[k], 1e-12, "STOCHF k");
        expect_near_rel(st.out(157 + k, "d"), ta_d[k], 1e-12, "STOCHF d");
    }
}

TEST(CandleReference, MacdFamily) {
    const auto cs = sample();
    Trace macd = run("MacdIndicator", {12, 26, 9}, cs), alias = run("Macd", {12, 26, 9}, cs),
          fix = run("MacdFix", {9}, cs);
    RefEma fast(12), slow(26), signal(9);
    RefEma ffast(12), fslow(26), fsignal(9);
    ffast.alpha = 0.15, ffast.oma = 0.85, fslow.alpha = 0.075, fslow.oma = 0.925;
    for (std::size_t i = 0; i < cs.size(); ++i) {
        auto f = fast.step(cs[i].close), s = slow.step(cs[i].close);
        std::optional<double> sig;
        if (f && s) sig = signal.step(*f - *s);
        if (!sig) {
            EXPECT_FALSE(macd.values[i]) << i;
        } else {
            EXPECT_EQ(*macd.values[i], *f - *s) << i;
            EXPECT_EQ(macd.out(i, "signal"), *sig) << i;
            EXPECT_EQ(macd.out(i, "histogram"), (*f - *s) - *sig) << i;
        }
        EXPECT_EQ(alias.values[i], macd.values[i]);
        auto ff = ffast.step(cs[i].close), fs = fslow.step(cs[i].close);
        std::optional<double> fsig;
        if (ff && fs) fsig = fsignal.step(*ff - *fs);
        if (fsig) {
            EXPECT_EQ(*fix.values[i], *ff - *fs) << i;
            EXPECT_EQ(fix.out(i, "signal"), *fsig) << i;
        } else {
            EXPECT_FALSE(fix.values[i]);
        }
    }
    EXPECT_EQ(macd.first(), 33u);  // the 34th close
    EXPECT_EQ(fix.first(), 33u);
    // TA-Lib seeds the fast average later; the difference has decayed by the end.
    const double ta_m[] = {0.0686720418184592, -0.004810467731715562, -0.0009029129037116945};
    const double ta_s[] = {0.3114670332752651, 0.24821153307386895, 0.1983886438783528};
    const double ta_fix[] = {0.06978471624188387, -0.00022635714923069372, 0.0024799829149202424};
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_NEAR(*macd.values[157 + k], ta_m[k], 1e-7);
        EXPECT_NEAR(macd.out(157 + k, "signal"), ta_s[k], 1e-7);
        EXPECT_NEAR(*fix.values[157 + k], ta_fix[k], 1e-7);
    }
}

TEST(CandleReference, KeltnerAndStarcUseTheUnfusedSteps) {
    const auto cs = sample();
    Trace kel = run("Keltner", {20, 10, 2.0}, cs), starc = run("StarcBands", {6, 10, 1.5}, cs);
    auto atr = wilder_atr(cs, 10, false), fused_atr = wilder_atr(cs, 10, true);
    RefEma ema(20, false), fused_ema(20, true);
    std::vector<double> closes;
    std::size_t ema_differs = 0;
    for (std::size_t i = 0; i < cs.size(); ++i) {
        auto e = ema.step(cs[i].close);
        auto fe = fused_ema.step(cs[i].close);
        if (e && *e != *fe) ++ema_differs;
        closes.push_back(cs[i].close);
        if (e && atr[i]) {
            double w = *atr[i] * 2.0;
            EXPECT_EQ(*kel.values[i], *e + w) << i;
            EXPECT_EQ(kel.out(i, "middle"), *e);
            EXPECT_EQ(kel.out(i, "lower"), *e - w) << i;
        } else {
            EXPECT_FALSE(kel.values[i]);
        }
        if (i >= 9) {
            double mid = window_mean(closes, 6), w = *atr[i] * 1.5;
            expect_near_rel(starc.out(i, "middle"), mid, 1e-13, "starc middle");
            EXPECT_EQ(*starc.values[i], starc.out(i, "middle") + w) << i;
            EXPECT_EQ(starc.out(i, "lower"), starc.out(i, "middle") - w) << i;
        } else {
            EXPECT_FALSE(starc.values[i]);
        }
    }
    EXPECT_GT(ema_differs, 0u);
    EXPECT_NE(atr, fused_atr);
    EXPECT_EQ(kel.first(), 19u);
}

TEST(CandleReference, VolumeWeightedAndZeroLagMacd) {
    const auto cs = sample();
    Trace vw = run("VolumeWeightedMacd", {5, 12, 4}, cs), zl = run("ZeroLagMacd", {5, 12, 4}, cs);
    auto vwma = [&](std::size_t i, std::size_t n) {
        double pv = 0, v = 0;
        for (std::size_t j = i + 1 - n; j <= i; ++j) pv += cs[j].close * cs[j].volume, v += cs[j].volume;
        return pv / v;
    };
    RefEma sig(4);
    for (std::size_t i = 0; i < cs.size(); ++i) {
        if (i < 11) {
            EXPECT_FALSE(vw.values[i]);
            continue;
        }
        double want = vwma(i, 5) - vwma(i, 12);
        auto s = sig.step(want);
        if (!s) {
            EXPECT_FALSE(vw.values[i]) << i;
            continue;
        }
        EXPECT_NEAR(*vw.values[i], want, 1e-11) << i;
        EXPECT_NEAR(vw.out(i, "signal"), *s, 1e-11) << i;
        EXPECT_EQ(vw.out(i, "histogram"), *vw.values[i] - vw.out(i, "signal"));
    }
    EXPECT_EQ(vw.first(), 14u);  // slow + signal - 1 updates

    // Zero-lag averages: lag (n - 1) / 2, de-lagged input 2x - x[lag], seeded mean.
    struct RefZlema {
        std::size_t n, lag;
        double alpha, oma, sum = 0, v = 0;
        std::size_t count = 0;
        std::vector<double> xs;
        explicit RefZlema(std::size_t n_) : n(n_), lag((n_ - 1) / 2), alpha(2.0 / (n_ + 1.0)), oma(1.0 - alpha) {}
        std::optional<double> step(double x) {
            xs.push_back(x);
            if (xs.size() < lag + 1) return std::nullopt;
            double d = std::fma(2.0, x, -xs[xs.size() - 1 - lag]);
            if (count >= n) return v = std::fma(alpha, d, oma * v);
            sum += d;
            if (++count == n) return v = sum / static_cast<double>(n);
            return std::nullopt;
        }
    } zf(5), zs(12), zsig(4);
    for (std::size_t i = 0; i < cs.size(); ++i) {
        auto f = zf.step(cs[i].close), s = zs.step(cs[i].close);
        std::optional<double> g;
        if (f && s) g = zsig.step(*f - *s);
        if (!g) {
            EXPECT_FALSE(zl.values[i]) << i;
            continue;
        }
        EXPECT_EQ(*zl.values[i], *f - *s) << i;
        EXPECT_EQ(zl.out(i, "signal"), *g) << i;
    }
    // (12 + 5) + (4 + 1) - 1 = 21 updates; the algorithm's first value agrees.
    EXPECT_EQ(zl.first(), 20u);
}

TEST(CandleReference, RwiVortexAndKst) {
    const auto cs = sample();
    const std::size_t n = 8;
    Trace rwi = run("Rwi", {8}, cs), vortex = run("Vortex", {7}, cs);
    Trace kst = run("Kst", {3, 4, 5, 6, 2, 2, 3, 3, 4}, cs);
    for (std::size_t i = 0; i < cs.size(); ++i) {
        if (i + 1 < n) {
            EXPECT_FALSE(rwi.values[i]);
        } else {
            double hi = 0, lo = 0;
            for (std::size_t k = 2; k <= n; ++k) {
                std::size_t back = k - 1;
                double s = 0;
                for (std::size_t j = i + 1 - back; j <= i; ++j) s += true_range(cs[j], &cs[j - 1]);
                double den = (s / back) * std::sqrt(static_cast<double>(k));
                if (den == 0) continue;
                hi = std::max(hi, (cs[i].high - cs[i - back].low) / den);
                lo = std::max(lo, (cs[i - back].high - cs[i].low) / den);
            }
            EXPECT_EQ(*rwi.values[i], hi) << i;
            EXPECT_EQ(rwi.out(i, "low"), lo) << i;
        }
        if (i < 7) {
            EXPECT_FALSE(vortex.values[i]);
        } else {
            double p = 0, m = 0, t = 0;
            for (std::size_t j = i - 6; j <= i; ++j) {
                p += std::fabs(cs[j].high - cs[j - 1].low);
                m += std::fabs(cs[j].low - cs[j - 1].high);
                t += true_range(cs[j], &cs[j - 1]);
            }
            expect_near_rel(*vortex.values[i], p / t, 1e-12, "VI+");
            expect_near_rel(vortex.out(i, "minus"), m / t, 1e-12, "VI-");
        }
    }
    // Kst: rates over 3..6 bars, smoothed by 2, 2, 3, 3 bars, weighted 1..4.
    const std::size_t roc[] = {3, 4, 5, 6}, sm[] = {2, 2, 3, 3};
    auto rate = [&](std::size_t i, std::size_t r) { return ((cs[i].close - cs[i - r].close) / cs[i - r].close) * 100; };
    std::vector<double> ksts;
    for (std::size_t i = 0; i < cs.size(); ++i) {
        if (i < 8) {  // the longest rate and its average need 6 + 3 closes
            EXPECT_FALSE(kst.values[i]) << i;
            continue;
        }
        double total = 0;
        for (std::size_t w = 0; w < 4; ++w) {
            double s = 0;
            for (std::size_t j = i + 1 - sm[w]; j <= i; ++j) s += rate(j, roc[w]);
            total += (w + 1.0) * (s / sm[w]);
        }
        ksts.push_back(total);
        if (ksts.size() < 4) {
            EXPECT_FALSE(kst.values[i]) << i;
            continue;
        }
        expect_near_rel(*kst.values[i], total, 1e-11, "kst");
        expect_near_rel(kst.out(i, "signal"), window_mean(ksts, 4), 1e-11, "kst signal");
    }
}

TEST(CandleReference, WaveTrendSuperTrendAndModifiedMaStop) {
    const auto cs = sample();
    Trace wt = run("WaveTrend", {5, 7, 3}, cs), st = run("SuperTrend", {10, 3.0}, cs),
          mma = run("ModifiedMaStop", {6}, cs);
    RefEma esa(5), dev(5), tci(7);
    std::vector<double> wt1s;
    auto atr = wilder_atr(cs, 10, false);
    std::optional<double> up_band, lo_band;
    double prev_close = 0, dir = 1;
    double mma_sum = 0, mma_v = 0, stop = 0, mdir = 0;
    for (std::size_t i = 0; i < cs.size(); ++i) {
        const Candle& c = cs[i];
        // WaveTrend
        double ap = (c.high + c.low + c.close) / 3.0;
        std::optional<double> w1;
        if (auto e = esa.step(ap)) {
            if (auto d = dev.step(std::fabs(ap - *e))) {
                double tol = std::max(std::fabs(*e), 1.0) * 16 * 2.220446049250313e-16;
                double ci = *d <= tol ? 0.0 : (ap - *e) / (0.015 * *d);
                w1 = tci.step(ci);
            }
        }
        if (w1) wt1s.push_back(*w1);
        if (w1 && wt1s.size() >= 3) {
            EXPECT_EQ(*wt.values[i], *w1) << i;
            expect_near_rel(wt.out(i, "wt2"), window_mean(wt1s, 3), 1e-12, "wt2");
        } else {
            EXPECT_FALSE(wt.values[i]) << i;
        }
        // SuperTrend
        if (atr[i]) {
            double mid = (c.high + c.low) * 0.5;
            double bu = mid + 3.0 * *atr[i], bl = mid - 3.0 * *atr[i];
            if (!up_band) {
                up_band = bu, lo_band = bl, dir = 1;
            } else {
                double u = (bu < *up_band || prev_close > *up_band) ? bu : *up_band;
                double l = (bl > *lo_band || prev_close < *lo_band) ? bl : *lo_band;
                dir = dir >= 0 ? (c.close < l ? -1 : 1) : (c.close > u ? 1 : -1);
                up_band = u, lo_band = l;
            }
            prev_close = c.close;
            EXPECT_EQ(*st.values[i], dir > 0 ? *lo_band : *up_band) << i;
            EXPECT_EQ(st.out(i, "direction"), dir) << i;
        } else {
            EXPECT_FALSE(st.values[i]);
        }
        // ModifiedMaStop
        if (i < 5) {
            mma_sum += c.close;
            EXPECT_FALSE(mma.values[i]);
            continue;
        }
        if (i == 5) {
            mma_v = (mma_sum + c.close) / 6.0;
        } else {
            mma_v = (c.close + mma_v * 5.0) / 6.0;
        }
        if (mdir == 0) {
            mdir = c.close < mma_v ? -1 : 1;
            stop = mma_v;
        } else if (mdir > 0) {
            stop = std::max(stop, mma_v);
            if (c.close < stop) mdir = -1, stop = mma_v;
        } else {
            stop = std::min(stop, mma_v);
            if (c.close > stop) mdir = 1, stop = mma_v;
        }
        EXPECT_EQ(*mma.values[i], stop) << i;
        EXPECT_EQ(mma.out(i, "direction"), mdir) << i;
    }
    EXPECT_EQ(wt.first(), 2 * 5 + 7 + 3 - 4u);
    EXPECT_EQ(st.first(), 9u);
}

TEST(CandleReference, QqeOnAnRsiWrittenOut) {
    const auto cs = sample();
    Trace q = run("Qqe", {6, 3, 4.236}, cs);
    const double n = 6;
    double prev_close = 0, g_sum = 0, l_sum = 0, ag = 0, al = 0;
    std::size_t changes = 0;
    RefEma smooth(3), long1(11), long2(11);
    std::optional<double> prev_sm;
    bool has = false;
    double L = 0, S = 0;
    int trend = 1;
    std::size_t first = 0;
    for (std::size_t i = 0; i < cs.size(); ++i) {
        double c = cs[i].close;
        std::optional<double> rsi;
        if (i > 0) {
            double ch = c - prev_close, g = ch > 0 ? ch : 0, l = ch < 0 ? -ch : 0;
            if (++changes <= 6) {
                g_sum += g, l_sum += l;
                if (changes == 6) ag = g_sum / n, al = l_sum / n;
            } else {
                ag = std::fma(ag, n - 1, g) * (1 / n);
                al = std::fma(al, n - 1, l) * (1 / n);
            }
            if (changes >= 6) rsi = ag + al == 0 ? 50.0 : (ag * 100) / (ag + al);
        }
        prev_close = c;
        std::optional<double> want_sm, want_trail;
        if (rsi) {
            if (auto sm = smooth.step(*rsi)) {
                double prev = prev_sm ? *prev_sm : *sm;
                prev_sm = *sm;
                if (auto a = long1.step(std::fabs(*sm - prev))) {
                    if (auto b = long2.step(*a)) {
                        double dar = *b * 4.236, nl = *sm - dar, ns = *sm + dar, trail;
                        if (!has) {
                            L = nl, S = ns, trend = 1, trail = nl, has = true;
                        } else {
                            double lng = (*sm > L && prev > L) ? std::max(L, nl) : nl;
                            double sht = (*sm < S && prev < S) ? std::min(S, ns) : ns;
                            double oldL = L, oldS = S;
                            L = lng, S = sht;
                            if (prev <= oldS && *sm > oldS) trend = 1, trail = lng;
                            else if (prev >= oldL && *sm < oldL) trend = -1, trail = sht;
                            else trail = trend == 1 ? lng : sht;
                        }
                        want_sm = *sm, want_trail = trail;
                    }
                }
            }
        }
        if (!want_sm) {
            EXPECT_FALSE(q.values[i]) << i;
            continue;
        }
        if (!first) first = i + 1;
        EXPECT_EQ(*q.values[i], *want_sm) << i;
        EXPECT_EQ(q.out(i, "trailing_line"), *want_trail) << i;
    }
    // The first value comes one update before the stated warm-up.
    EXPECT_EQ(first, 6u + 3 + 2 * 11 - 2);
    auto built = build_indicator("Qqe", std::vector<double>{6, 3, 4.236});
    EXPECT_EQ((*built)->warmup_period(), 6u + 3 + 2 * 11 - 1);
}

namespace {

struct KindCase {
    const char* kind;
    std::vector<double> params;
};

// One candle failing each of the six checks, in their order.
std::vector<Candle> failing_candles() {
    Candle ok{0, 10, 11, 9, 10, 5};
    std::vector<Candle> out(6, ok);
    out[0].close = NAN;
    out[1].volume = INFINITY;
    out[2].volume = -1;
    out[3].high = 8.5, out[3].low = 9;
    out[3].open = out[3].close = 8.7;
    out[4].close = 12;
    out[5].open = 8;
    for (const Candle& c : out) EXPECT_FALSE(c.is_valid());
    return out;
}

bool same(const std::optional<double>& a, const std::optional<double>& b) {
    if (a.has_value() != b.has_value()) return false;
    return !a || *a == *b || (std::isnan(*a) && std::isnan(*b));
}

}  // namespace

TEST(CandleReference, FailingCandlesLeaveTheStateUntouched) {
    const std::vector<KindCase> kinds = {
        {"Atr", {5}}, {"Natr", {5}}, {"PlusDm", {5}}, {"MinusDm", {5}}, {"PlusDi", {5}}, {"MinusDi", {5}},
        {"Dx", {5}}, {"Adx", {5}}, {"Adxr", {5}}, {"Alligator", {13, 8, 5}}, {"Aroon", {14}},
        {"AroonOscillator", {14}}, {"Psar", {0.02, 0.02, 0.2}}, {"SarExt", {0, 0.1, 0.02, 0.02, 0.2, 0.03, 0.03, 0.3}},
        {"ChoppinessIndex", {14}}, {"HiLoActivator", {3}}, {"TtmTrend", {6}}, {"MidPrice", {10}},
        {"VolumeWeightedMacd", {5, 12, 4}}, {"Keltner", {20, 10, 2}}, {"StarcBands", {6, 10, 1.5}},
        {"VwapStdDevBands", {2}}, {"Stochastic", {14, 3}}, {"WaveTrend", {5, 7, 3}}, {"Rwi", {8}},
        {"SuperTrend", {10, 3}}, {"Nrtr", {2.5}}, {"ModifiedMaStop", {6}}, {"Vortex", {7}},
    };
    const auto cs = sample();
    const auto bad = failing_candles();
    std::vector<Candle> mixed;
    for (std::size_t i = 0; i < cs.size(); ++i) {
        mixed.push_back(cs[i]);
        if (i % 7 == 3) mixed.push_back(bad[(i / 7) % bad.size()]);
    }
    for (const KindCase& k : kinds) {
        Trace clean = run(k.kind, k.params, cs), noisy = run(k.kind, k.params, mixed);
        std::size_t j = 0;
        for (std::size_t i = 0; i < mixed.size(); ++i) {
            if (!mixed[i].is_valid()) {
                EXPECT_FALSE(noisy.values[i]) << k.kind << " at " << i;
                // The stored outputs stay those of the last value.
                ASSERT_GT(i, 0u);
                EXPECT_EQ(noisy.outputs[i].size(), noisy.outputs[i - 1].size()) << k.kind;
                continue;
            }
            EXPECT_TRUE(same(noisy.values[i], clean.values[j])) << k.kind << " at " << j;
            ++j;
        }
        EXPECT_NE(clean.first(), cs.size()) << k.kind;
    }
}

TEST(CandleReference, CloseOnlyKindsReadOnlyTheClose) {
    // These kinds do not run the candle checks: a candle whose high is below its low
    // still counts through its close; only a non-finite close is ignored.
    const std::vector<KindCase> kinds = {
        {"MacdIndicator", {5, 12, 4}}, {"MacdFix", {4}}, {"ZeroLagMacd", {5, 12, 4}}, {"MaEnvelope", {6, 0.02}},
        {"MedianChannel", {6, 2}}, {"QuartileBands", {6}}, {"Kst", {3, 4, 5, 6, 2, 2, 3, 3, 4}},
        {"Qqe", {6, 3, 4.236}},
    };
    const auto cs = sample();
    std::vector<Candle> odd, gaps;
    for (std::size_t i = 0; i < cs.size(); ++i) {
        Candle c = cs[i];
        std::swap(c.high, c.low);  // fails the checks, close unchanged
        c.volume = -1;
        odd.push_back(c);
        gaps.push_back(cs[i]);
        if (i % 5 == 2) {
            Candle n = cs[i];
            n.close = (i % 2) ? NAN : -INFINITY;
            gaps.push_back(n);
        }
    }
    for (const KindCase& k : kinds) {
        Trace clean = run(k.kind, k.params, cs), swapped = run(k.kind, k.params, odd),
              holes = run(k.kind, k.params, gaps);
        for (std::size_t i = 0; i < cs.size(); ++i)
            EXPECT_TRUE(same(clean.values[i], swapped.values[i])) << k.kind << " at " << i;
        std::size_t j = 0;
        for (std::size_t i = 0; i < gaps.size(); ++i) {
            if (!std::isfinite(gaps[i].close)) {
                EXPECT_FALSE(holes.values[i]) << k.kind;
                continue;
            }
            EXPECT_TRUE(same(holes.values[i], clean.values[j])) << k.kind << " at " << j;
            ++j;
        }
        EXPECT_NE(clean.first(), cs.size()) << k.kind;
    }
}
