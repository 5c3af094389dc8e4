// Chart and harmonic patterns on swing pivots, the line kinds (pivot reversal, new
// price lines, line break, ZigZag) on hand-built candles, and the swing-pivot tracker.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "indicators/core/swing_tracker.hpp"
#include "support/pattern_support.hpp"

using namespace pattern_support;

// One flat candle per pivot price, then one 10% against the last pivot, which confirms
// it; the code is the one given on that last candle. A candle with its high below its
// low, fed first, gives no value and changes nothing.
TEST(ChartPatterns, EveryFormationGivesItsCodeOnTheConfirmingBar) {
    for (const auto& row : table_file::read("indicators/patterns/data/chart.txt")) {
        auto ind = make(row[0]);
        if (!ind) continue;
        EXPECT_FALSE(ind->update(bar("10,9,11,10")).has_value()) << row[0];
        for (std::size_t i = 2; i < row.size(); ++i) ind->update(bar(row[i]));
        const double last = row.num(row.size() - 1);
        const bool last_high = last > row.num(row.size() - 2);
        const double confirm = last_high ? last * 0.9 : last * 1.1;
        ostrel::FeedSnapshot f;
        f.candle = ostrel::Candle{0, confirm, confirm, confirm, confirm, 1.0};
        auto v = ind->update(f);
        EXPECT_EQ(v, row.opt(1)) << "chart.txt line " << row.line << ": " << row[0];
    }
}

TEST(ChartPatterns, LineKindRuns) { check_runs("indicators/patterns/data/chart_runs.txt"); }

TEST(ChartPatterns, SwingTracker) {
    std::optional<ostrel::core::SwingTracker> t;
    for (const auto& row : table_file::read("indicators/patterns/data/swing_tracker.txt")) {
        if (row[0] == "tracker") {
            t.emplace(row.num(1), static_cast<std::size_t>(row.num(2)));
            continue;
        }
        const std::string where = "swing_tracker.txt line " + std::to_string(row.line);
        EXPECT_EQ(t->step(row.num(0), row.num(1)), row.num(2) == 1.0) << where;
        ASSERT_EQ(t->size(), row.num(3)) << where;
        if (row.size() == 4) continue;
        ASSERT_EQ(row.size(), 4 + 3 * t->size()) << where;
        for (std::size_t i = 0; i < t->size(); ++i) {
            const auto& p = t->pivot(i);
            EXPECT_EQ(p.price, row.num(4 + 3 * i)) << where << " pivot " << i;
            EXPECT_EQ(p.direction, row.num(5 + 3 * i)) << where << " pivot " << i;
            EXPECT_EQ(p.index, row.num(6 + 3 * i)) << where << " pivot " << i;
            EXPECT_EQ(t->newest(t->size() - 1 - i).index, p.index) << where << " pivot " << i;
        }
    }
}
