// UlcerIndex keeps a running sum of squared drawdowns; once the drawdowns return to 0
// that sum holds only the rounding residue of the squares that left, which must read
// as 0 (never a NaN from the root of a sum below 0, never a few units of residue).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "support/flat_series.hpp"
#include "support/table_file.hpp"

namespace {

std::vector<std::optional<double>> ulcer(std::size_t period, const std::vector<double>& levels) {
    const std::vector<double> params{static_cast<double>(period)};
    auto built = ostrel::build_indicator("UlcerIndex", params);
    EXPECT_TRUE(built.has_value());
    std::vector<std::optional<double>> out;
    if (!built) return out;
    for (double x : levels) {
        ostrel::FeedSnapshot f;
        f.candle = {0, x, x, x, x, 1.0};
        out.push_back((*built)->update(f));
    }
    return out;
}

TEST(UlcerIndex, DrawdownsBackAtZeroGiveExactlyZero) {
    const auto cases = table_file::sections(table_file::read("indicators/close/performance/data/ulcer_index.txt"), "case");
    ASSERT_FALSE(cases.empty());
    for (const auto& c : cases) {
        ASSERT_EQ(c.rows.size(), 2u) << c.head[1];
        const auto period = static_cast<std::size_t>(c.head.num(2));
        const auto levels = c.rows[0].nums(1);
        const auto got = ulcer(period, levels);
        ASSERT_EQ(c.rows[1].size(), levels.size() + 1) << c.head[1];
        for (std::size_t i = 0; i < levels.size(); ++i) {
            const auto want = c.rows[1].opt(i + 1);
            ASSERT_EQ(got[i].has_value(), want.has_value()) << c.head[1] << " bar " << i;
            if (!want) continue;
            if (*want == 0.0)
                EXPECT_TRUE(*got[i] == 0.0 && !std::signbit(*got[i])) << c.head[1] << " bar " << i << ": " << *got[i];
            else
                EXPECT_NEAR(*got[i], *want, 1e-14 * *want) << c.head[1] << " bar " << i;
        }
    }
}

// Over walks (one with untraded runs), every value is a finite root of a mean of
// squares: never negative, exactly 0 when the last `period` drawdowns are all 0, and
// otherwise the root of the mean of the squares summed afresh, to rounding.
TEST(UlcerIndex, WalksGiveFiniteValuesAndZeroOnZeroDrawdowns) {
    std::vector<std::vector<double>> walks;
    for (std::uint64_t seed : {3u, 11u}) {
        const auto bars = seed == 3 ? flat_series::walk_then_flat(97.3, 3000, 0)
                                    : flat_series::forward_filled(102.6, 3000, seed).bars;
        std::vector<double> levels;
        for (const auto& b : bars) levels.push_back(b.candle.close);
        walks.push_back(levels);
    }
    for (const auto& levels : walks) {
        std::size_t zero_windows = 0;
        for (std::size_t period : {2u, 3u, 5u, 14u}) {
            const auto got = ulcer(period, levels);
            std::vector<double> drawdowns;
            for (std::size_t t = period; t <= levels.size(); ++t) {
                const double m = *std::max_element(levels.begin() + static_cast<std::ptrdiff_t>(t - period),
                                                   levels.begin() + static_cast<std::ptrdiff_t>(t));
                drawdowns.push_back((levels[t - 1] - m) * 100.0 / m);
                if (drawdowns.size() < period) continue;
                const auto& v = got[t - 1];
                ASSERT_TRUE(v.has_value()) << "period " << period << " bar " << t - 1;
                ASSERT_TRUE(std::isfinite(*v) && !std::signbit(*v)) << "period " << period << " bar " << t - 1 << ": " << *v;
                double squares = 0.0;
                bool all_zero = true;
                for (auto it = drawdowns.end() - static_cast<std::ptrdiff_t>(period); it != drawdowns.end(); ++it) {
                    squares += *it * *it;
                    all_zero = all_zero && *it == 0.0;
                }
                if (all_zero) {
                    ++zero_windows;
                    EXPECT_EQ(*v, 0.0) << "period " << period << " bar " << t - 1;
                } else {
                    const double want = std::sqrt(squares / static_cast<double>(period));
                    EXPECT_NEAR(*v, want, 1e-6 * want) << "period " << period << " bar " << t - 1;
                }
            }
        }
        EXPECT_GT(zero_windows, 0u) << "no window of zero drawdowns";
    }
}

}  // namespace
