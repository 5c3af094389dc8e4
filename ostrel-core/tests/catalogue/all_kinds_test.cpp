// Every kind of the catalogue from one table (data/kinds.txt): its feed, the reader of
// each parameter, a parameter list it accepts, its warm-up, the inputs it must ignore
// and its number of named outputs. Two tests run the checks that every entry and every
// update share over all 495 kinds and the two aliases; data/construction.txt holds the
// checks of single kinds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <set>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "support/feed_bar.hpp"
#include "support/build_support.hpp"
#include "support/table_file.hpp"

using namespace ostrel;
using build_support::build_error;
using build_support::params_error;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

struct KindRow {
    int line;
    std::string kind;
    char feed;            // K T O Q D X: Kline, Trade, Orderbook, TradeQuote, Derivatives, CrossSection
    std::string readers;  // a letter per parameter: P p M m u f i w (see kinds.txt)
    std::size_t warmup;
    std::size_t first;    // 1-based update of the first value over the walk
    std::string ignores;  // inputs that must give nothing and change nothing (see Bad below)
    std::size_t outputs;  // named outputs; 0 for a single-output kind
    std::vector<double> params;
};

const std::vector<KindRow>& kind_rows() {
    static const std::vector<KindRow> rows = [] {
        std::vector<KindRow> out;
        for (const auto& r : table_file::read("catalogue/data/kinds.txt"))
            out.push_back({r.line, r[0], r[1][0], r[2] == "-" ? "" : r[2], static_cast<std::size_t>(r.num(3)),
                           static_cast<std::size_t>(r[4] == "=" ? r.num(3) : r.num(4)), r[5] == "-" ? "" : r[5],
                           static_cast<std::size_t>(r.num(6)), table_file::number_list(r[7])});
        return out;
    }();
    return rows;
}

const std::map<std::string, std::string> kAliases = {{"Macd", "MacdIndicator"}, {"Bollinger", "BollingerBands"}};

std::string at(std::size_t i) { return std::to_string(i); }

// The checks every entry shares, for `name` (a kind or an alias of `row.kind`).
void shared_construction_checks(const std::string& name, const KindRow& row) {
    auto fails = [&](std::vector<double> p, const std::string& reason) {
        EXPECT_EQ(build_error(name, p), params_error(row.kind, reason)) << name << " (line " << row.line << ")";
    };
    auto with = [&](std::size_t i, double v) {
        auto p = row.params;
        p[i] = v;
        return p;
    };
    const auto n = row.readers.size();
    ASSERT_EQ(row.params.size(), n) << row.kind;
    EXPECT_EQ(build_error(name, row.params), "built") << name;
    // Values beyond the last parameter are never looked at.
    auto longer = row.params;
    longer.insert(longer.end(), {kNaN, -kInf, 0.5});
    EXPECT_EQ(build_error(name, longer), "built") << name;
    for (std::size_t k = 0; k < n; ++k)
        fails(std::vector<double>(row.params.begin(), row.params.begin() + k), "missing parameter #" + at(k));
    // Parameters are read in index order before anything is checked.
    if (n >= 2) {
        std::vector<double> short_bad(row.params.begin(), row.params.end() - 1);
        short_bad[0] = kNaN;
        fails(short_bad, "parameter #0 must be finite");
    }
    for (std::size_t i = 0; i < n; ++i) {
        for (double bad : {kNaN, kInf, -kInf}) fails(with(i, bad), "parameter #" + at(i) + " must be finite");
        const std::string head = "parameter #" + at(i);
        switch (row.readers[i]) {
            case 'P':
                fails(with(i, 1e-20), "period must be greater than zero");
                [[fallthrough]];
            case 'M':
                fails(with(i, 16777217), build_support::kMax);
                fails(with(i, 1e300), build_support::kMax);
                EXPECT_EQ(build_error(name, with(i, 16777216)), "built") << name << " #" << i;
                [[fallthrough]];
            case 'u':
                fails(with(i, 2.5), head + " must be a positive integer, got 2.5");
                fails(with(i, 0), head + " must be a positive integer, got 0");
                fails(with(i, -0.0), head + " must be a positive integer, got -0");
                break;
            case 'i': fails(with(i, 0.5), head + " must be an i32, got 0.5"); break;
            case 'w': fails(with(i, -1), head + " must be a u32, got -1"); break;
            case 'f': break;
            default: ADD_FAILURE() << "unknown reader '" << row.readers[i] << "' at line " << row.line;
        }
    }
}

}  // namespace

TEST(AllKinds, TableListsEveryKindWithItsFeed) {
    const auto& rows = kind_rows();
    auto names = kind_names();
    ASSERT_EQ(rows.size(), names.size());
    const std::string feeds = "KTOQDX";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].kind, names[i]) << "line " << rows[i].line;
        auto f = feed_for_kind(rows[i].kind);
        ASSERT_TRUE(f.has_value()) << rows[i].kind;
        EXPECT_EQ(feeds[static_cast<int>(*f)], rows[i].feed) << rows[i].kind;
        // A name of the same length that differs in its last byte is unknown.
        auto other = rows[i].kind;
        other.back() = '_';
        EXPECT_EQ(feed_for_kind(other), std::nullopt) << other;
        EXPECT_EQ(build_error(other, {}), "unknown indicator type: " + other);
    }
    for (const auto& [alias, kind] : kAliases) EXPECT_EQ(feed_for_kind(alias), std::nullopt) << alias;
}

TEST(AllKinds, SharedConstructionChecks) {
    std::map<std::string, const KindRow*> by_name;
    for (const auto& row : kind_rows()) {
        by_name[row.kind] = &row;
        shared_construction_checks(row.kind, row);
    }
    // An alias reads its kind's parameters and its errors name the kind.
    for (const auto& [alias, kind] : kAliases) {
        ASSERT_TRUE(by_name.count(kind)) << kind;
        shared_construction_checks(alias, *by_name[kind]);
    }
}

// Rows: kind, parameters ("-" for none, else joined by commas), then the reason of the
// error, "built", or "warmup N" (built, with that warm-up). In reasons "@" stands for
// "#" (which starts a comment in data files) and MAX for the maximum-window text.
TEST(AllKinds, KindSpecificConstruction) {
    for (const auto& r : table_file::read("catalogue/data/construction.txt")) {
        std::string reason;
        for (std::size_t i = 2; i < r.size(); ++i) reason += (i > 2 ? " " : "") + r[i];
        for (auto& ch : reason)
            if (ch == '@') ch = '#';
        if (reason == "MAX") reason = build_support::kMax;
        if (reason.rfind("warmup ", 0) == 0) {
            auto built = build_indicator(r[0], table_file::number_list(r[1]));
            ASSERT_TRUE(built) << "construction.txt line " << r.line;
            EXPECT_EQ((*built)->warmup_period(), std::stoull(reason.substr(7))) << "construction.txt line " << r.line;
            continue;
        }
        const auto kind = kAliases.count(r[0]) ? kAliases.at(r[0]) : r[0];
        const auto want = reason == "built" ? reason : params_error(kind, reason);
        EXPECT_EQ(build_error(r[0], table_file::number_list(r[1])), want) << "construction.txt line " << r.line;
    }
}

namespace {

// One bar with every feed, so any kind can read it.
using Bar = feed_bar::FeedBar;

// A random walk with every feed around it; every number is a short dyadic fraction.
std::vector<Bar> walk(std::size_t n) {
    std::uint64_t s = 7;
    auto u = [&s] {  // in [0, 1), a multiple of 2^-16
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(s >> 48) / 65536.0;
    };
    std::vector<Bar> bars(n);
    double p = 100.0;
    for (std::size_t i = 0; i < n; ++i) {
        Bar& b = bars[i];
        const double open = p;
        p += u() * 4.0 - 2.0;
        b.candle = {1700000000000 + 3600000 * static_cast<std::int64_t>(i), open, std::max(open, p) + u(),
                    std::min(open, p) - u(), p, 50.0 + 100.0 * u()};
        b.reference = p * 0.5 + 20.0 * u();
        b.derivatives = DerivativesTick{(u() - 0.5) / 1024.0, p + u() - 0.5, p + u() - 0.5, p + 2.0 * u() - 0.8,
                                        1000.0 + 500.0 * u(), 100.0 + 50.0 * u(), 100.0 + 50.0 * u(), 10.0 * u(),
                                        10.0 * u(), u() < 0.25 ? 5.0 * u() : 0.0, u() < 0.25 ? 5.0 * u() : 0.0, 0.0};
        for (int t = 0, nt = 1 + static_cast<int>(u() * 5); t < nt; ++t)
            b.trades.push_back({p + u() / 4.0 - 0.125, 0.25 + 3.0 * u(), b.candle.time + 1000 * t, u() < 0.5});
        b.book.emplace();
        for (int l = 1; l <= 5; ++l) {
            b.book->bids.push_back({p - 0.0625 * l, 1.0 + 4.0 * u()});
            b.book->asks.push_back({p + 0.0625 * l, 1.0 + 4.0 * u()});
        }
        b.cross.emplace();
        for (int e = 0; e < 20; ++e)
            b.cross->push_back({(u() - 0.5) / 32.0, 1000.0 * u(), u() < 0.2, u() < 0.2, u() < 0.5, u() < 0.5});
    }
    return bars;
}

// The unusable inputs, by the letter the table uses: a close that is NaN (n) or
// infinite (i), a candle whose high is below its low (c) or whose volume is negative
// (v), a missing (r) or NaN (R) reference, a missing derivatives record (d), order
// book (b) or cross-section (x), a bar without trades (t), a close of -0 (z) and a
// negative close (m).
Bar spoil(Bar b, char what) {
    switch (what) {
        case 'n': b.candle.close = kNaN; break;
        case 'i': b.candle.close = kInf; break;
        case 'c': std::swap(b.candle.high, b.candle.low); break;
        case 'v': b.candle.volume = -1.0; break;
        case 'r': b.reference.reset(); break;
        case 'R': b.reference = kNaN; break;
        case 'd': b.derivatives.reset(); break;
        case 'b': b.book.reset(); break;
        case 'x': b.cross.reset(); break;
        case 't': b.trades.clear(); break;
        case 'z': b.candle.close = -0.0; break;
        case 'm': b.candle.close = -3.0; break;
        default: ADD_FAILURE() << "unknown input class '" << what << "'";
    }
    return b;
}

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct Step {
    std::optional<double> value;
    std::vector<double> outputs;
};

// Runs the walk; before every fifth bar, when `bad` is set, one spoiled copy of it
// (the classes taken in turn), which must give no value.
std::vector<Step> run(Indicator& ind, const std::vector<Bar>& bars, const std::string& bad, const std::string& kind) {
    std::vector<Step> out;
    std::size_t turn = 0;
    for (std::size_t i = 0; i < bars.size(); ++i) {
        if (!bad.empty() && i % 5 == 2) {
            const char what = bad[turn++ % bad.size()];
            EXPECT_FALSE(ind.update(spoil(bars[i], what).snapshot())) << kind << " gave a value on input '" << what << "'";
        }
        Step s{ind.update(bars[i].snapshot()), {}};
        for (const auto& o : ind.outputs()) s.outputs.push_back(o.value);
        out.push_back(std::move(s));
    }
    return out;
}

}  // namespace

TEST(AllKinds, SharedUpdateRules) {
    const auto bars = walk(300);
    const std::map<char, std::string> must_ignore = {{'K', "ni"}, {'T', "t"}, {'O', "b"},
                                                     {'Q', "t"},  {'D', "d"}, {'X', "x"}};
    for (const auto& row : kind_rows()) {
        SCOPED_TRACE(row.kind + " (kinds.txt line " + at(row.line) + ")");
        for (char c : must_ignore.at(row.feed)) EXPECT_NE(row.ignores.find(c), std::string::npos) << c;
        auto built = build_indicator(row.kind, row.params);
        ASSERT_TRUE(built);
        auto& ind = **built;
        EXPECT_EQ(ind.warmup_period(), row.warmup);
        const auto clean = run(ind, bars, "", row.kind);
        std::size_t first = 0;
        for (std::size_t i = 0; i < clean.size(); ++i) {
            const auto& s = clean[i];
            if (s.value && !first) first = i + 1;
            if (row.outputs == 0) {
                EXPECT_TRUE(s.outputs.empty()) << "at " << i;
            } else if (s.value) {
                // A multi-output kind returns its first output.
                ASSERT_EQ(s.outputs.size(), row.outputs) << "at " << i;
                EXPECT_TRUE(same_bits(s.outputs[0], *s.value)) << "at " << i;
            }
        }
        EXPECT_EQ(first, row.first);
        if (row.outputs) {
            std::set<std::string_view> names;
            for (const auto& o : ind.outputs()) EXPECT_TRUE(!o.name.empty() && names.insert(o.name).second) << o.name;
        }
        // Unusable inputs give nothing and change nothing: the values on the good
        // bars are those of the clean run, bit for bit.
        auto again = build_indicator(row.kind, row.params);
        const auto spoiled = run(**again, bars, row.ignores, row.kind);
        for (std::size_t i = 0; i < clean.size(); ++i) {
            ASSERT_EQ(spoiled[i].value.has_value(), clean[i].value.has_value()) << "at " << i;
            if (clean[i].value) EXPECT_TRUE(same_bits(*spoiled[i].value, *clean[i].value)) << "at " << i;
            ASSERT_EQ(spoiled[i].outputs.size(), clean[i].outputs.size()) << "at " << i;
            for (std::size_t k = 0; k < clean[i].outputs.size(); ++k)
                EXPECT_TRUE(same_bits(spoiled[i].outputs[k], clean[i].outputs[k])) << "at " << i << " output " << k;
        }
    }
}
