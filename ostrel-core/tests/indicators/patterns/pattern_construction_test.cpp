// Construction of the pattern kinds: each kind's own checks, their order and texts,
// lengths refused rather than wrapped, and the warm-up a built kind reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/pattern_support.hpp"

TEST(PatternConstruction, EveryRowBuildsOrGivesItsText) {
    for (const auto& row : table_file::read("indicators/patterns/data/construction.txt")) {
        std::size_t eq = 1;
        while (eq < row.size() && row[eq] != "=") ++eq;
        ASSERT_LT(eq + 1, row.size()) << "construction.txt line " << row.line;
        std::vector<double> params;
        for (std::size_t i = 1; i < eq; ++i) params.push_back(row.num(i));
        auto built = ostrel::build_indicator(row[0], params);
        const std::string where = "construction.txt line " + std::to_string(row.line);
        if (row[eq + 1] == "built") {
            ASSERT_TRUE(built) << where << ": " << built.error().display();
            if (eq + 2 < row.size()) EXPECT_EQ((*built)->warmup_period(), row.num(eq + 2)) << where;
            continue;
        }
        std::string text = "invalid parameters for indicator " + row[0] + ":";
        for (std::size_t i = eq + 1; i < row.size(); ++i) text += " " + row[i];
        std::replace(text.begin(), text.end(), '%', '#');
        EXPECT_EQ(built ? std::string("built") : built.error().display(), text) << where;
    }
}
