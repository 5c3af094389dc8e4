// Helpers for the pattern tests' data files: a kind named with its parameters
// ("Kind" or "Kind:p1,p2"), a candle written as one cell ("open,high,low,close" with an
// optional ",volume", volume 1 when left out, or one number for a candle whose four
// prices are that close), and the checker of runs: a kind fed a candle sequence, each
// candle's expected value and named outputs given on its row.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "support/table_file.hpp"

namespace pattern_support {

// The numbers of a comma-separated cell.
inline std::vector<double> numbers(const std::string& cell) {
    std::vector<double> out;
    std::stringstream in(cell);
    for (std::string item; std::getline(in, item, ',');) out.push_back(table_file::Row::parse_number(item));
    return out;
}

inline ostrel::FeedSnapshot bar(const std::string& cell) {
    std::vector<double> p = numbers(cell);
    if (p.size() == 1) p = {p[0], p[0], p[0], p[0]};
    if (p.size() == 4) p.push_back(1.0);
    ostrel::FeedSnapshot f;
    if (p.size() != 5) {
        ADD_FAILURE() << "not a candle: " << cell;
        return f;
    }
    f.candle = ostrel::Candle{0, p[0], p[1], p[2], p[3], p[4]};
    return f;
}

// The kind built from "Kind" or "Kind:p1,p2,..."; a failed build is a test failure.
inline std::unique_ptr<ostrel::Indicator> make(const std::string& cell) {
    const auto colon = cell.find(':');
    const std::string kind = cell.substr(0, colon);
    auto built = ostrel::build_indicator(kind, colon == std::string::npos ? std::vector<double>{}
                                                                          : numbers(cell.substr(colon + 1)));
    if (!built) {
        ADD_FAILURE() << cell << ": " << built.error().display();
        return nullptr;
    }
    return std::move(*built);
}

// An expected number against the one given: the same bits, or both NaN.
inline bool same(double want, double got) {
    if (std::isnan(want)) return std::isnan(got);
    return std::bit_cast<std::uint64_t>(want) == std::bit_cast<std::uint64_t>(got);
}

// Checks every row of a formation table: "kind code candles...", the code expected on
// the last candle ("-": no value).
inline void check_formations(const std::string& path) {
    for (const auto& row : table_file::read(path)) {
        auto ind = make(row[0]);
        if (!ind) continue;
        std::optional<double> v;
        for (std::size_t i = 2; i < row.size(); ++i) v = ind->update(bar(row[i]));
        EXPECT_EQ(v, row.opt(1)) << path << " line " << row.line << ": " << row[0];
        EXPECT_TRUE(ind->outputs().empty()) << path << " line " << row.line;
    }
}

// Checks every run of a data file. Sections: "series NAME" (rows: one candle each) and
// "run KIND [on SERIES] [names N1 N2 ...]". A run's rows are "candle value outputs..."
// or, on a series, "value outputs..." for its candles in turn. The value is "-" for no
// value, "?" for one not checked (present or not), or a number; the outputs after it
// ("?" for one not checked), when given, must be all the named outputs. "names" lists the names of the
// kind's named outputs after the last candle.
inline void check_runs(const std::string& path) {
    std::vector<table_file::Section> sections;
    for (auto& r : table_file::read(path)) {
        if (r[0] == "series" || r[0] == "run") sections.push_back({r, {}});
        else if (!sections.empty()) sections.back().rows.push_back(r);
        else ADD_FAILURE() << path << ": row before the first section, line " << r.line;
    }
    std::map<std::string, std::vector<std::string>> series;
    for (const auto& s : sections)
        if (s.head[0] == "series")
            for (const auto& r : s.rows) series[s.head[1]].push_back(r[0]);
    for (const auto& s : sections) {
        if (s.head[0] != "run") continue;
        auto ind = make(s.head[1]);
        if (!ind) continue;
        const std::vector<std::string>* candles = nullptr;
        std::vector<std::string> names;
        for (std::size_t i = 2; i + 1 < s.head.size(); ++i) {
            if (s.head[i] == "on") candles = &series[s.head[i + 1]];
            if (s.head[i] == "names") names.assign(s.head.cells.begin() + i + 1, s.head.cells.end());
        }
        if (candles && candles->size() != s.rows.size()) {
            ADD_FAILURE() << path << " line " << s.head.line << ": not one row per candle";
            continue;
        }
        const std::size_t at = candles ? 0 : 1;  // the value's cell
        for (std::size_t n = 0; n < s.rows.size(); ++n) {
            const auto& r = s.rows[n];
            auto v = ind->update(bar(candles ? (*candles)[n] : r[0]));
            const std::string where = path + " line " + std::to_string(r.line) + ": " + s.head[1];
            if (r[at] == "-") {
                EXPECT_FALSE(v.has_value()) << where;
                continue;
            }
            if (r[at] != "?") {
                if (!v) {
                    ADD_FAILURE() << where << ": no value";
                    continue;
                }
                EXPECT_TRUE(same(r.num(at), *v)) << where << ": " << r[at] << " vs " << *v;
            }
            if (r.size() == at + 1) continue;
            const auto outs = ind->outputs();
            EXPECT_EQ(outs.size(), r.size() - at - 1) << where;
            for (std::size_t j = 0; j < outs.size() && at + 1 + j < r.size(); ++j)
                if (r[at + 1 + j] != "?")
                    EXPECT_TRUE(same(r.num(at + 1 + j), outs[j].value)) << where << " output " << j << ": " << outs[j].value;
        }
        if (names.empty()) continue;
        std::vector<std::string> got;
        for (const auto& o : ind->outputs()) got.emplace_back(o.name);
        EXPECT_EQ(got, names) << path << " line " << s.head.line;
    }
}

}  // namespace pattern_support
