// Running sums of non-negative terms keep the rounding residue of the terms that
// left their windows; after a huge bar leaves, that residue can be a little below 0.
// Rows of data/residue_bounds.txt name kinds whose values those sums bound; over
// walks with huge bars followed by quiet and untraded stretches, every value (NaN
// included) must lie within the row's bounds, and -0 counts as below 0.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "support/flat_series.hpp"
#include "support/table_file.hpp"

namespace {

using flat_series::Bar;

// A walk in which every 150 bars three bars jump by a factor 1e9 in price and
// volume, followed by 40 bars that barely move and 30 untraded bars (volume 0).
std::vector<Bar> jumpy_walk(std::uint64_t seed, double price) {
    std::vector<Bar> out;
    flat_series::Walker w(seed, price);
    while (out.size() < 2400) {
        for (int k = 0; k < 77; ++k) out.push_back(w.next(out.size()));
        for (int k = 0; k < 3; ++k) {
            Bar b = w.next(out.size());
            for (double* v : {&b.candle.open, &b.candle.high, &b.candle.low, &b.candle.close}) *v *= 1e9;
            b.candle.volume *= 1e9;
            b.trades[0].price *= 1e9;
            b.trades[0].size *= 1e9;
            out.push_back(b);
        }
        const double p = w.price();
        for (int k = 0; k < 40; ++k) {
            Bar b = flat_series::flat_bar(out.size(), p * (1.0 + 1e-12 * (k % 3)), w.reference(), 1e-3);
            b.candle.high = b.candle.close * (1.0 + 1e-12);
            out.push_back(b);
        }
        for (int k = 0; k < 30; ++k) out.push_back(flat_series::flat_bar(out.size(), p, w.reference(), 0.0));
    }
    return out;
}

// Bars whose terms of one side are all 0 after huge ones: every 150 bars three bars
// jump by 1e9 in price and volume with trades of 1e12 to 1e22, then 40 bars step down
// (close at the low, the high at the previous close: no buying pressure, no rising
// typical price, only sells of 1e-3 to 1e6), 20 equal candles with volume, 40 bars
// that step up (only buys) and 20 untraded bars. The walk has three trades a bar of
// sizes spread over twelve orders of magnitude.
std::vector<Bar> staircase_walk(std::uint64_t seed, double price) {
    std::vector<Bar> out;
    flat_series::Walker w(seed, price);
    flat_series::Rng r{seed * 31 + 7};
    auto trades = [&](Bar& b, double scale, int side) {
        b.trades.clear();
        for (int k = 0; k < 3; ++k) {
            const double size = std::pow(10.0, r.unit() * 12.0 - 3.0) * (1.0 + r.unit()) * scale;
            const bool sell = side == 0 ? r.unit() < 0.5 : side < 0;
            b.trades.push_back({b.candle.close, size, b.candle.time, sell});
        }
    };
    auto stair = [&](double from, double to, int side) {
        Bar b = flat_series::flat_bar(out.size(), to, w.reference(), 0.1 + 1e3 * r.unit());
        b.candle.open = from;
        b.candle.high = from > to ? from : to;
        b.candle.low = from > to ? to : from;
        trades(b, 1e-6, side);
        out.push_back(b);
    };
    while (out.size() < 2400) {
        for (int k = 0; k < 77; ++k) {
            Bar b = w.next(out.size());
            trades(b, 1.0, 0);
            out.push_back(b);
        }
        for (int k = 0; k < 3; ++k) {
            Bar b = w.next(out.size());
            for (double* v : {&b.candle.open, &b.candle.high, &b.candle.low, &b.candle.close}) *v *= 1e9;
            b.candle.volume *= 1e9;
            b.trades.clear();
            for (double size : {1e12, 1e16, 1e20, 1e22})
                b.trades.push_back({b.candle.close, size * (1.0 + r.unit()), b.candle.time, r.unit() < 0.5});
            out.push_back(b);
        }
        double p = w.price();
        for (int k = 0; k < 40; ++k) {
            const double next = p * (1.0 - 0.003 * r.unit() - 1e-9);
            stair(p, next, -1);
            p = next;
        }
        for (int k = 0; k < 20; ++k) stair(p, p, -1);
        for (int k = 0; k < 40; ++k) {
            const double next = p * (1.0 + 0.003 * r.unit() + 1e-9);
            stair(p, next, 1);
            p = next;
        }
        for (int k = 0; k < 20; ++k) out.push_back(flat_series::flat_bar(out.size(), p, w.reference(), 0.0));
    }
    return out;
}

// Closes read as returns: a walk of small returns in which every 150 bars three
// returns of about 1e3 come first, then 40 returns all below 0.01, 40 all above it,
// and 30 returns of 0.
std::vector<Bar> return_walk(std::uint64_t seed) {
    std::vector<Bar> out;
    flat_series::Rng r{seed};
    auto push = [&](double x) { out.push_back(flat_series::flat_bar(out.size(), x, 1.0, 1.0)); };
    while (out.size() < 2400) {
        for (int k = 0; k < 77; ++k) push((r.unit() - 0.5) * 0.04);
        for (int k = 0; k < 3; ++k) push((r.unit() < 0.5 ? -1e3 : 1e3) * (1.0 + r.unit()));
        for (int k = 0; k < 40; ++k) push(0.01 - 0.06 * r.unit() - 1e-9);
        for (int k = 0; k < 40; ++k) push(0.01 + 0.06 * r.unit() + 1e-9);
        for (int k = 0; k < 30; ++k) push(0.0);
    }
    return out;
}

TEST(ResidueBounds, SumsOfNonNegativeTermsNeverReadBelowZero) {
    const auto rows = table_file::read("catalogue/data/residue_bounds.txt");
    ASSERT_FALSE(rows.empty());
    std::vector<std::vector<Bar>> series;
    for (std::uint64_t seed : {5u, 6u})
        for (double p : {102.6, 97.3}) {
            series.push_back(jumpy_walk(seed, p));
            series.push_back(staircase_walk(seed, p));
        }
    // Walks of returns (closes of either sign) only for the rows marked "returns".
    const std::size_t price_walks = series.size();
    for (std::uint64_t seed : {5u, 6u}) series.push_back(return_walk(seed));
    for (const auto& r : rows) {
        std::vector<double> params;
        for (std::size_t from = 0; from <= r[1].size();) {
            auto comma = r[1].find(',', from);
            if (comma == std::string::npos) comma = r[1].size();
            params.push_back(table_file::Row::parse_number(r[1].substr(from, comma - from)));
            from = comma + 1;
        }
        const double low = r.num(3), high = r.num(4);
        const std::size_t walks = r.size() > 5 && r[5] == "returns" ? series.size() : price_walks;
        for (std::size_t s = 0; s < walks; ++s) {
            const auto& bars = series[s];
            auto built = ostrel::build_indicator(r[0], params);
            ASSERT_TRUE(built.has_value()) << "line " << r.line;
            std::size_t values = 0;
            for (std::size_t i = 0; i < bars.size(); ++i) {
                auto v = (*built)->update(bars[i].snapshot());
                if (!v) continue;
                double x = *v;
                if (r[2] != "value")
                    for (const auto& o : (*built)->outputs())
                        if (o.name == r[2]) x = o.value;
                ++values;
                // A lower bound of 0 also refuses -0 (a 0 over a sum read below 0).
                if (!(x >= low && x <= high) || (low == 0.0 && std::signbit(x))) {
                    ADD_FAILURE() << "line " << r.line << " " << r[0] << " " << r[2] << ": walk " << s << " bar " << i << " gives " << x;
                    break;
                }
            }
            EXPECT_GT(values, 0u) << "line " << r.line;
        }
    }
}

}  // namespace
