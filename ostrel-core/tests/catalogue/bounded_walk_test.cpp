// No kind, at its smallest accepted parameters, gives a non-finite value or a value
// that grows without bound on ordinary bounded data (a walk around 100 with untraded,
// forward-filled runs): a recursive filter whose poles leave the unit circle, or a
// square root of a running sum that fell a residue below 0, shows up here. Kinds and
// parameters are in data/smallest_params.txt.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "support/flat_series.hpp"
#include "support/table_file.hpp"

namespace {

// Far above anything a kind gives on this data (prices near 100, volumes near 1000,
// 3,000 bars), far below what a runaway recursion reaches.
constexpr double kBound = 1e9;

bool allowed(const table_file::Row& row, std::string_view output) {
    for (std::size_t i = 2; i < row.size(); ++i)
        if (row[i] == output) return true;
    return false;
}

TEST(BoundedWalk, EveryKindAtItsSmallestParametersStaysFiniteAndBounded) {
    const auto rows = table_file::read("catalogue/data/smallest_params.txt");
    std::set<std::string> kinds;
    for (const auto& row : rows) kinds.insert(row[0]);
    EXPECT_EQ(kinds.size(), ostrel::kind_names().size());
    for (std::uint64_t seed : {21u, 22u}) {
        const auto walk = flat_series::forward_filled(100.0, 3000, seed);
        for (const auto& row : rows) {
            auto built = ostrel::build_indicator(row[0], table_file::number_list(row[1]));
            if (!built) {
                ADD_FAILURE() << "line " << row.line << ": " << built.error().display();
                continue;
            }
            auto check = [&](std::string_view output, double v, std::size_t bar) {
                if ((std::isfinite(v) && std::fabs(v) <= kBound) || allowed(row, output)) return true;
                ADD_FAILURE() << "line " << row.line << ": " << row[0] << " [" << row[1] << "] " << output << " at bar "
                              << bar << " (seed " << seed << ") gives " << v;
                return false;
            };
            for (std::size_t i = 0; i < walk.bars.size(); ++i) {
                auto v = (*built)->update(walk.bars[i].snapshot());
                bool ok = !v || check("value", *v, i);
                for (const auto& o : (*built)->outputs()) ok = ok && check(o.name, o.value, i);
                if (!ok) break;
            }
        }
    }
}

}  // namespace
