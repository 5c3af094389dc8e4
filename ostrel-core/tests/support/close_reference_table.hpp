// Bit-exact comparison of close-series kinds with values from an independent model
// (a Python transcription of the kinds' definitions, run on IEEE doubles).
#pragma once

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "support/close_series_support.hpp"

namespace closetest {

struct ReferenceRow {
    const char* kind;
    std::vector<double> params;
    bool returns;       // fed returns c[i+1] / c[i] - 1 instead of the levels c[i]
    std::size_t first;  // 1-based update of the first value
    std::vector<std::pair<std::size_t, double>> values;  // (0-based update, value)
};

inline std::vector<double> levels_160() { return series(160); }

inline std::vector<double> returns_160() {
    auto c = series(161);
    std::vector<double> r;
    for (std::size_t i = 0; i + 1 < c.size(); ++i) r.push_back(c[i + 1] / c[i] - 1.0);
    return r;
}

inline void expect_reference_row(const ReferenceRow& row) {
    auto ind = make(row.kind, row.params);
    ASSERT_TRUE(ind) << row.kind;
    EXPECT_EQ(ind->warmup_period(), row.first) << row.kind;
    auto v = feed(*ind, row.returns ? returns_160() : levels_160());
    for (std::size_t i = 0; i < v.size(); ++i) EXPECT_EQ(v[i].has_value(), i + 1 >= row.first) << row.kind << " at " << i;
    for (auto [i, want] : row.values) {
        ASSERT_TRUE(v[i].has_value()) << row.kind << " at " << i;
        EXPECT_TRUE(same_bits(*v[i], want)) << row.kind << " at " << i << ": " << *v[i] << " vs " << want;
    }
    EXPECT_TRUE(ind->outputs().empty()) << row.kind;
}

}  // namespace closetest
