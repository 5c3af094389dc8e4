// Values of the multi-feed kinds against numbers worked out by hand or by an
// independent model (data/values.txt), over the bars of data/feeds.txt.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "support/feed_bar.hpp"
#include "support/table_file.hpp"

using namespace ostrel;

namespace {

// One bar of a feed list; `bad` bars must give no value and change nothing.
struct Bar : feed_bar::FeedBar {
    bool bad = false;
};

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> out;
    if (s.empty()) return out;
    for (std::size_t from = 0; from <= s.size();) {
        auto at = s.find(sep, from);
        if (at == std::string::npos) at = s.size();
        out.push_back(s.substr(from, at - from));
        from = at + 1;
    }
    return out;
}

double num(const std::string& s) { return table_file::Row::parse_number(s); }

std::vector<BookLevel> levels(const std::string& s) {
    std::vector<BookLevel> out;
    for (const auto& l : split(s, ',')) {
        auto f = split(l, ':');
        out.push_back({num(f.at(0)), num(f.at(1))});
    }
    return out;
}

// Cells key=value: c close (all four prices), k open:high:low:close:volume, T time
// in ms, r reference ("-" none), d the eleven derivatives numbers joined by commas,
// t trades price:size:b|s joined by commas, b bids/asks of price:size levels, x
// cross-section entries change:volume:flags (h new high, l new low, a above its
// average, u bullish). A first cell "!" marks a bad bar.
Bar parse_bar(const table_file::Row& r) {
    Bar b;
    b.candle.volume = 1.0;
    for (const auto& cell : r.cells) {
        if (cell == "!") {
            b.bad = true;
            continue;
        }
        const auto eq = cell.find('=');
        const auto key = cell.substr(0, eq), v = cell.substr(eq + 1);
        if (key == "c") {
            b.candle.open = b.candle.high = b.candle.low = b.candle.close = num(v);
        } else if (key == "k") {
            auto f = split(v, ':');
            b.candle = {b.candle.time, num(f.at(0)), num(f.at(1)), num(f.at(2)), num(f.at(3)), num(f.at(4))};
        } else if (key == "T") {
            b.candle.time = static_cast<std::int64_t>(num(v));
        } else if (key == "r") {
            if (v != "-") b.reference = num(v);
        } else if (key == "d") {
            auto f = split(v, ',');
            DerivativesTick d;
            double* fields[] = {&d.funding_rate,    &d.mark_price,      &d.index_price,      &d.futures_price,
                                &d.open_interest,   &d.long_positions,  &d.short_positions,  &d.taker_buy_volume,
                                &d.taker_sell_volume, &d.long_liquidations, &d.short_liquidations};
            for (std::size_t i = 0; i < f.size() && i < 11; ++i) *fields[i] = num(f[i]);
            b.derivatives = d;
        } else if (key == "t") {
            for (const auto& t : split(v, ',')) {
                auto f = split(t, ':');
                b.trades.push_back({num(f.at(0)), num(f.at(1)), b.candle.time, f.at(2) == "s"});
            }
        } else if (key == "b") {
            auto sides = split(v, '/');
            b.book = OrderBook{levels(sides.at(0)), levels(sides.at(1))};
        } else if (key == "x") {
            b.cross.emplace();
            for (const auto& e : split(v, ',')) {
                auto f = split(e, ':');
                const auto& fl = f.at(2);
                auto has = [&](char c) { return fl.find(c) != std::string::npos; };
                b.cross->push_back({num(f.at(0)), num(f.at(1)), has('h'), has('l'), has('a'), has('u')});
            }
        } else {
            ADD_FAILURE() << "unknown bar cell '" << cell << "' at line " << r.line;
        }
    }
    return b;
}

const std::map<std::string, std::vector<Bar>>& feeds() {
    static const auto all = [] {
        std::map<std::string, std::vector<Bar>> out;
        for (const auto& s : table_file::sections(table_file::read("indicators/multifeed/data/feeds.txt"), "feed"))
            for (const auto& r : s.rows) out[s.head[1]].push_back(parse_bar(r));
        return out;
    }();
    return all;
}

// A feed by name, or "pairs:x1,x2,.../y1,y2,..." for closes with their references.
std::vector<Bar> bars(const std::string& cell) {
    if (cell.rfind("pairs:", 0) == 0) {
        auto sides = split(cell.substr(6), '/');
        auto xs = split(sides.at(0), ','), ys = split(sides.at(1), ',');
        std::vector<Bar> out(xs.size());
        for (std::size_t i = 0; i < xs.size(); ++i) {
            out[i].candle.open = out[i].candle.high = out[i].candle.low = out[i].candle.close = num(xs[i]);
            out[i].candle.volume = 1.0;
            if (ys.at(i) != "-") out[i].reference = num(ys[i]);
        }
        return out;
    }
    auto it = feeds().find(cell);
    if (it == feeds().end()) ADD_FAILURE() << "no feed " << cell;
    return it == feeds().end() ? std::vector<Bar>{} : it->second;
}

struct Step {
    std::optional<double> value;
    std::vector<double> outputs;
};

// The steps of the good bars; each bad bar must give no value.
std::vector<Step> run(const std::string& kind_cell, const std::string& params, const std::vector<Bar>& in,
                      bool skip_bad, const std::string& where) {
    const auto colon = kind_cell.find(':');
    const auto kind = kind_cell.substr(0, colon);
    std::vector<double> p;
    if (params != "-")
        for (const auto& c : split(params, ',')) p.push_back(num(c));
    auto built = build_indicator(kind, p);
    std::vector<Step> out;
    if (!built) {
        ADD_FAILURE() << where << ": " << built.error().display();
        return out;
    }
    for (const auto& b : in) {
        if (b.bad && skip_bad) continue;
        Step s{(*built)->update(b.snapshot()), {}};
        for (const auto& o : (*built)->outputs()) s.outputs.push_back(o.value);
        if (s.value && colon != std::string::npos) {
            s.value.reset();
            for (const auto& o : (*built)->outputs())
                if (o.name == kind_cell.substr(colon + 1)) s.value = o.value;
            EXPECT_TRUE(s.value) << where << ": no output " << kind_cell;
        }
        if (b.bad) {
            EXPECT_FALSE(s.value) << where << ": a bad bar gave a value";
            continue;
        }
        out.push_back(std::move(s));
    }
    return out;
}

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// "-" no value, "+" any value, else a number compared bit for bit (tol 0) or within tol.
void expect_value(const std::optional<double>& got, const std::string& want, double tol, const std::string& where) {
    ASSERT_EQ(got.has_value(), want != "-") << where;
    if (!got || want == "+") return;
    const double w = num(want);
    if (tol == 0.0)
        EXPECT_TRUE(same_bits(*got, w) || (std::isnan(*got) && std::isnan(w))) << where << ": got " << *got << ", want " << want;
    else
        EXPECT_NEAR(*got, w, tol) << where;
}

}  // namespace

// Rows: kind[:output] params feed index expected [tolerance], with index "*" for a list
// of every good bar's value in expected; or "~ kind params feed": the feed's bad bars
// give nothing and change nothing (values and outputs as without them, bit for bit).
TEST(MultifeedValues, AgreeWithIndependentNumbers) {
    for (const auto& r : table_file::read("indicators/multifeed/data/values.txt")) {
        const std::string where = "values.txt line " + std::to_string(r.line);
        if (r[0] == "~") {
            const auto in = bars(r[3]);
            const auto noisy = run(r[1], r[2], in, false, where), clean = run(r[1], r[2], in, true, where);
            ASSERT_EQ(noisy.size(), clean.size()) << where;
            for (std::size_t i = 0; i < clean.size(); ++i) {
                ASSERT_EQ(noisy[i].value.has_value(), clean[i].value.has_value()) << where << " at " << i;
                if (clean[i].value) EXPECT_TRUE(same_bits(*noisy[i].value, *clean[i].value)) << where << " at " << i;
                ASSERT_EQ(noisy[i].outputs.size(), clean[i].outputs.size()) << where << " at " << i;
                for (std::size_t k = 0; k < clean[i].outputs.size(); ++k)
                    EXPECT_TRUE(same_bits(noisy[i].outputs[k], clean[i].outputs[k])) << where << " at " << i;
            }
            continue;
        }
        const auto got = run(r[0], r[1], bars(r[2]), false, where);
        const double tol = r.size() > 5 ? r.num(5) : 0.0;
        if (r[3] == "*") {
            const auto want = split(r[4], ',');
            ASSERT_EQ(got.size(), want.size()) << where;
            for (std::size_t i = 0; i < got.size(); ++i) expect_value(got[i].value, want[i], tol, where + " at " + std::to_string(i));
        } else {
            const auto i = static_cast<std::size_t>(r.num(3));
            ASSERT_LT(i, got.size()) << where;
            expect_value(got[i].value, r[4], tol, where + " at " + std::to_string(i));
        }
    }
}
