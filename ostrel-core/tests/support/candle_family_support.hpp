// Helpers for the candle-family tests: build by name, make candles, feed them, read
// the named outputs as values; and the one checker of their data files.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/build_support.hpp"
#include "support/table_file.hpp"
#include "catalogue/catalogue.hpp"

namespace candlefam {

using ostrel::Candle;
using ostrel::FeedSnapshot;
using ostrel::Indicator;
using Values = std::vector<std::optional<double>>;

using build_support::kMax;
using build_support::kMult;
using build_support::kZero;
using build_support::make;

// "built", or the reason of the catalogue's error (after the kind's name).
inline std::string reason(std::string_view kind, std::vector<double> params) {
    auto r = ostrel::build_indicator(kind, params);
    if (r) return "built";
    std::string text = r.error().display();
    std::string prefix = "invalid parameters for indicator " + std::string(kind) + ": ";
    if (text.rfind(prefix, 0) != 0) return "unexpected: " + text;
    return text.substr(prefix.size());
}

inline FeedSnapshot bar(double o, double h, double l, double c, double v = 100.0) {
    FeedSnapshot s;
    s.candle = Candle{0, o, h, l, c, v};
    return s;
}
// A candle whose four prices are all x.
inline FeedSnapshot flat(double x, double v = 100.0) { return bar(x, x, x, x, v); }

inline Values feed(Indicator& ind, const std::vector<FeedSnapshot>& bars) {
    Values out;
    for (const auto& b : bars) out.push_back(ind.update(b));
    return out;
}

// The values of the named outputs, in order.
inline std::vector<double> outs(const Indicator& ind) {
    std::vector<double> v;
    for (const auto& o : ind.outputs()) v.push_back(o.value);
    return v;
}

}  // namespace candlefam

// The one checker of the candle-series data files. A file is a list of sections; a
// row whose first cell is a keyword starts one:
//   candles NAME              rows "t o h l c v": a candle list other sections name
//   ref KIND LIST TOL p...    rows "BAR VALUE [OUT...]": KIND fed the whole list, the
//                             value and outputs after candle BAR (from 0) as stated
//   case KIND TOL p...        rows "t o h l c v VALUE [OUT...]": one candle fed, then
//                             its value and outputs as stated
//   errors                    rows "KIND p... : reason": the construction outcome
//                             ("built", or the reason after the kind's name;
//                             ":NAME" when an alias reports under NAME; "@" stands
//                             for "#", which starts a comment)
//   warmups                   rows "KIND N p...": the kind's warmup_period is N
// VALUE "-" is no value, "+" any value, "*" not checked. OUT cells are the named
// outputs in order, "name=value" for one by name, "{}" for none; "*" skips one.
// TOL 0 compares bits (a "nan" matches any NaN), "=" compares with == (either zero
// matches the other), else |got - want| <= TOL * max(1, |want|).
namespace kind_table {

using namespace candlefam;
using table_file::Row;

inline bool matches(double got, double want, double tol) {
    if (std::isnan(want)) return std::isnan(got);
    if (tol < 0) return got == want;
    if (tol == 0) return std::bit_cast<std::uint64_t>(got) == std::bit_cast<std::uint64_t>(want);
    return std::fabs(got - want) <= tol * std::max(1.0, std::fabs(want));
}

inline std::vector<double> params_from(const Row& r, std::size_t from, std::size_t to) {
    std::vector<double> p;
    for (std::size_t i = from; i < to; ++i) p.push_back(r.num(i));
    return p;
}

// Checks the value and outputs stated from cell `at` on against what `ind` gave.
inline void check_after(const Indicator& ind, std::optional<double> got, const Row& r, std::size_t at, double tol,
                        const std::string& where) {
    const std::string& v = r[at];
    if (v == "-") EXPECT_FALSE(got.has_value()) << where << " gave " << got.value_or(0);
    else if (v == "+") EXPECT_TRUE(got.has_value()) << where << ": no value";
    else if (v != "*") {
        if (!got) ADD_FAILURE() << where << ": no value, expected " << v;
        else EXPECT_TRUE(matches(*got, r.num(at), tol)) << where << ": got " << std::hexfloat << *got << ", expected " << v;
    }
    auto outs = ind.outputs();
    if (r.size() == at + 2 && r[at + 1] == "{}") {
        EXPECT_TRUE(outs.empty()) << where << ": outputs present";
        return;
    }
    std::size_t positional = 0;
    for (std::size_t i = at + 1; i < r.size(); ++i)
        if (r[i].find('=') == std::string::npos) ++positional;
    if (positional) EXPECT_EQ(outs.size(), positional) << where << ": output count";
    for (std::size_t i = at + 1, k = 0; i < r.size(); ++i) {
        auto eq = r[i].find('=');
        std::string name = eq == std::string::npos ? "" : r[i].substr(0, eq);
        std::string want = eq == std::string::npos ? r[i] : r[i].substr(eq + 1);
        std::size_t idx = eq == std::string::npos ? k++ : outs.size();
        for (std::size_t j = 0; j < outs.size() && !name.empty(); ++j)
            if (outs[j].name == name) idx = j;
        if (want == "*") continue;
        if (idx >= outs.size()) {
            ADD_FAILURE() << where << ": no output " << (name.empty() ? std::to_string(k - 1) : name);
            continue;
        }
        double w = Row::parse_number(want);
        EXPECT_TRUE(matches(outs[idx].value, w, tol))
            << where << " output " << outs[idx].name << ": got " << std::hexfloat << outs[idx].value << ", expected " << want;
    }
}

inline FeedSnapshot snapshot(const Row& r, std::size_t from) {
    FeedSnapshot s;
    s.candle = Candle{static_cast<std::int64_t>(r.num(from)), r.num(from + 1), r.num(from + 2), r.num(from + 3),
                      r.num(from + 4), r.num(from + 5)};
    return s;
}

// Checks every section of the files, read in order (a candle list serves the files after it).
inline void check_files(const std::vector<std::string>& files) {
    std::map<std::string, std::vector<FeedSnapshot>> lists;
    for (const auto& file : files) {
        auto rows = table_file::read(file);
        for (std::size_t i = 0; i < rows.size();) {
            const Row& head = rows[i];
            std::size_t end = i + 1;
            while (end < rows.size() && rows[end][0] != "candles" && rows[end][0] != "ref" && rows[end][0] != "case" &&
                   rows[end][0] != "errors" && rows[end][0] != "warmups")
                ++end;
            const std::string kw = head[0];
            const std::string at = file + ":" + std::to_string(head.line);
            if (kw == "candles") {
                auto& list = lists[head[1]];
                for (std::size_t j = i + 1; j < end; ++j) list.push_back(snapshot(rows[j], 0));
            } else if (kw == "ref" || kw == "case") {
                bool ref = kw == "ref";
                std::size_t tol_at = ref ? 3 : 2;
                double tol = head[tol_at] == "=" ? -1.0 : head.num(tol_at);
                auto ind = make(head[1], params_from(head, tol_at + 1, head.size()));
                if (!ind) ADD_FAILURE() << at;
                else if (ref) {
                    const auto& list = lists[head[2]];
                    EXPECT_FALSE(list.empty()) << at << ": no candles " << head[2];
                    std::size_t fed = 0;
                    for (std::size_t j = i + 1; j < end; ++j) {
                        auto bar = static_cast<std::size_t>(rows[j].num(0));
                        std::optional<double> got;
                        if (bar < fed || bar >= list.size()) {
                            ADD_FAILURE() << file << ":" << rows[j].line << ": bar out of order";
                            break;
                        }
                        while (fed <= bar) got = ind->update(list[fed++]);
                        check_after(*ind, got, rows[j], 1, tol,
                                    head[1] + " bar " + rows[j][0] + " (" + file + ":" + std::to_string(rows[j].line) + ")");
                    }
                } else {
                    for (std::size_t j = i + 1; j < end; ++j)
                        check_after(*ind, ind->update(snapshot(rows[j], 0)), rows[j], 6, tol,
                                    head[1] + " (" + file + ":" + std::to_string(rows[j].line) + ")");
                }
            } else if (kw == "errors") {
                for (std::size_t j = i + 1; j < end; ++j) {
                    const Row& r = rows[j];
                    std::size_t colon = 1;
                    while (colon < r.size() && r[colon][0] != ':') ++colon;
                    std::string want;
                    for (std::size_t k = colon + 1; k < r.size(); ++k) want += (want.empty() ? "" : " ") + r[k];
                    std::replace(want.begin(), want.end(), '@', '#');
                    // ":Name" when the text names the kind an alias stands for.
                    std::string named = colon < r.size() && r[colon].size() > 1 ? r[colon].substr(1) : r[0];
                    if (want != "built") want = build_support::params_error(named, want);
                    EXPECT_EQ(build_support::build_error(r[0], params_from(r, 1, colon)), want) << file << ":" << r.line;
                }
            } else if (kw == "warmups") {
                for (std::size_t j = i + 1; j < end; ++j) {
                    const Row& r = rows[j];
                    if (auto ind = make(r[0], params_from(r, 2, r.size())))
                        EXPECT_EQ(ind->warmup_period(), static_cast<std::size_t>(r.num(1))) << file << ":" << r.line;
                }
            } else {
                ADD_FAILURE() << at << ": unknown section " << kw;
            }
            i = end;
        }
    }
}

}  // namespace kind_table
