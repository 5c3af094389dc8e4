// Band kinds whose width is a spread of their window meet their centre line on a
// window of equal inputs, at prices whose sums are not exact and however the window
// became flat (the scenarios of the flat-window rows). Rows live in
// data/flat_equal/*.txt:
//
//   kind params outputs cover [scenarios]
//
// outputs: two or more named outputs joined by commas, which must be the same number
// (and, for a zero, of the same sign) on every bar from `cover` flat bars on.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "support/flat_series.hpp"
#include "support/table_file.hpp"

namespace {

using flat_series::Bar;

std::vector<std::string> split(const std::string& cell) {
    std::vector<std::string> out;
    for (std::size_t from = 0; from <= cell.size();) {
        auto comma = cell.find(',', from);
        if (comma == std::string::npos) comma = cell.size();
        out.push_back(cell.substr(from, comma - from));
        from = comma + 1;
    }
    return out;
}

struct Row {
    std::string where;
    std::string kind;
    std::vector<double> params;
    std::vector<std::string> outputs;
    std::size_t cover;
    std::string scenarios;
};

std::vector<Row> rows() {
    std::vector<Row> out;
    const auto dir = std::filesystem::path(OSTREL_TEST_DATA_DIR) / "catalogue/data/flat_equal";
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        if (e.path().extension() != ".txt") continue;
        const std::string file = e.path().filename().string();
        for (const auto& r : table_file::read("catalogue/data/flat_equal/" + file)) {
            std::vector<double> params;
            if (r[1] != "-")
                for (const auto& p : split(r[1])) params.push_back(table_file::Row::parse_number(p));
            out.push_back({file + ":" + std::to_string(r.line), r[0], params, split(r[2]),
                           static_cast<std::size_t>(r.num(3)), r.size() > 4 ? r[4] : "fwr"});
        }
    }
    return out;
}

bool same(double a, double b) { return a == b && std::signbit(a) == std::signbit(b); }

// Feeds `bars`; from bar `from` on, every bar must give all the row's outputs, equal.
// Stops at the first bar that fails.
void check(const Row& row, const std::vector<Bar>& bars, const std::vector<bool>& flat, const char* scenario) {
    auto built = ostrel::build_indicator(row.kind, row.params);
    ASSERT_TRUE(built) << row.where << " " << built.error().display();
    ASSERT_GE(row.outputs.size(), 2u) << row.where;
    std::size_t checked = 0;
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const bool has = (*built)->update(bars[i].snapshot()).has_value();
        if (!flat[i]) continue;
        ++checked;
        std::vector<double> got;
        if (has)
            for (const auto& name : row.outputs)
                for (const auto& o : (*built)->outputs())
                    if (o.name == name) got.push_back(o.value);
        bool ok = got.size() == row.outputs.size();
        for (std::size_t k = 1; ok && k < got.size(); ++k) ok = same(got[k], got[0]);
        if (!ok) {
            std::string shown;
            for (double v : got) {
                char buf[40];
                std::snprintf(buf, sizeof buf, " %.17g", v);
                shown += buf;
            }
            ADD_FAILURE() << row.where << " " << row.kind << " " << scenario << ": bar " << i << " gives" << shown;
            return;
        }
    }
    EXPECT_GT(checked, 0u) << row.where << " " << row.kind << " " << scenario << ": no bar covers the window";
}

TEST(FlatEqualOutputs, BandsMeetTheirCentreOnFlatWindows) {
    const auto all = rows();
    ASSERT_FALSE(all.empty());
    constexpr std::size_t kWalk = 307;
    for (const auto& row : all) {
        const std::size_t rest = 3 * row.cover + 40;
        for (double p : {102.6, 97.3}) {
            if (row.scenarios.find('f') != std::string::npos) {
                std::vector<bool> flat(rest);
                for (std::size_t i = row.cover - 1; i < rest; ++i) flat[i] = true;
                check(row, flat_series::flat(p, rest), flat, "flat from the first bar");
            }
            if (row.scenarios.find('w') != std::string::npos) {
                std::vector<bool> flat(kWalk + rest);
                for (std::size_t i = kWalk + row.cover - 1; i < flat.size(); ++i) flat[i] = true;
                check(row, flat_series::walk_then_flat(p, kWalk, rest), flat, "flat after a walk");
            }
        }
        if (row.scenarios.find('r') != std::string::npos)
            for (std::uint64_t seed : {11u, 12u}) {
                const auto ff = flat_series::forward_filled(seed % 2 ? 97.3 : 102.6, 3000, seed);
                std::vector<bool> flat(ff.bars.size());
                for (std::size_t i = 0; i < flat.size(); ++i) flat[i] = ff.run[i] >= row.cover;
                check(row, ff.bars, flat, "forward-filled");
            }
    }
}

}  // namespace
