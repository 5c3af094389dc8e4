// Values of the close-series kinds against numbers worked out by hand or by an
// independent computation (data/values.txt), over the close lists of data/series.txt.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "support/table_file.hpp"

namespace {

using Values = std::vector<std::optional<double>>;

// An expected value: a number, "-" for none, "+" for any value.
struct Want {
    bool any = false;
    std::optional<double> value;
};

// "-" for an empty list, else cells joined by commas.
std::vector<Want> want_list(const std::string& cell) {
    std::vector<Want> out;
    if (cell == "-") return out;
    for (std::size_t from = 0; from <= cell.size();) {
        auto comma = cell.find(',', from);
        if (comma == std::string::npos) comma = cell.size();
        const auto part = cell.substr(from, comma - from);
        if (part == "+") out.push_back({true, std::nullopt});
        else if (part == "-") out.push_back({});
        else out.push_back({false, table_file::Row::parse_number(part)});
        from = comma + 1;
    }
    return out;
}

std::vector<double> numbers(const std::string& cell) {
    std::vector<double> out;
    for (const auto& w : want_list(cell)) out.push_back(w.value.value_or(0.0));
    return out;
}

const std::map<std::string, std::vector<double>>& named_series() {
    static const auto all = [] {
        std::map<std::string, std::vector<double>> out;
        for (const auto& s : table_file::sections(table_file::read("indicators/close/data/series.txt"), "series"))
            for (const auto& r : s.rows) {
                auto& xs = out[s.head[1]];
                for (double v : r.nums()) xs.push_back(v);
            }
        return out;
    }();
    return all;
}

// A series by name ("name:n" for its first n closes), or written out in the cell.
std::vector<double> closes(const std::string& cell) {
    const auto colon = cell.find(':');
    auto it = named_series().find(cell.substr(0, colon));
    if (it == named_series().end()) return numbers(cell);
    auto xs = it->second;
    if (colon != std::string::npos) xs.resize(std::stoul(cell.substr(colon + 1)));
    return xs;
}

// The values of `kind` (or of its named output after a colon) over the closes.
Values run(const std::string& kind_cell, const std::string& params, const std::vector<double>& xs) {
    const auto colon = kind_cell.find(':');
    const auto kind = kind_cell.substr(0, colon);
    auto built = ostrel::build_indicator(kind, numbers(params));
    if (!built) {
        ADD_FAILURE() << kind << ": " << built.error().display();
        return Values(xs.size());
    }
    Values out;
    for (double x : xs) {
        ostrel::FeedSnapshot s;
        s.candle.open = s.candle.high = s.candle.low = s.candle.close = x;
        auto v = (*built)->update(s);
        if (v && colon != std::string::npos) {
            v.reset();
            for (const auto& o : (*built)->outputs())
                if (o.name == kind_cell.substr(colon + 1)) v = o.value;
            EXPECT_TRUE(v) << kind_cell << ": no such output";
        }
        out.push_back(v);
    }
    return out;
}

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Bit for bit without a tolerance (so the sign of a zero counts), else within it.
void expect_value(const std::optional<double>& got, const Want& want, double tol, const std::string& where) {
    ASSERT_EQ(got.has_value(), want.any || want.value.has_value()) << where;
    if (!got || want.any) return;
    if (tol == 0.0)
        EXPECT_TRUE(same_bits(*got, *want.value) || (std::isnan(*got) && std::isnan(*want.value)))
            << where << ": got " << *got << " (" << std::hexfloat << *got << std::defaultfloat << "), want " << *want.value;
    else
        EXPECT_NEAR(*got, *want.value, tol) << where;
}

}  // namespace

// Rows: kind[:output] params closes index expected [tolerance]. The closes are a series
// name or a list; index "*" compares every update with the list in expected; "-" is no
// value and "+" any value. A row
// "= kindA paramsA kindB paramsB closes from" says two kinds agree bit for bit from
// update `from` (0-based) on; "~ kind params closes n" says every value from update n
// on is that of a fresh indicator fed just the last n closes; "in kind params closes lo
// hi" that every value lies in [lo, hi].
TEST(CloseValues, AgreeWithIndependentNumbers) {
    for (const auto& r : table_file::read("indicators/close/data/values.txt")) {
        const std::string where = "values.txt line " + std::to_string(r.line);
        if (r[0] == "=") {
            const auto xs = closes(r[5]);
            const auto a = run(r[1], r[2], xs), b = run(r[3], r[4], xs);
            for (std::size_t i = static_cast<std::size_t>(r.num(6)); i < xs.size(); ++i)
                expect_value(a[i], {false, b[i]}, 0.0, where + " at " + std::to_string(i));
            continue;
        }
        if (r[0] == "in") {
            for (const auto& v : run(r[1], r[2], closes(r[3])))
                if (v) EXPECT_TRUE(*v >= r.num(4) && *v <= r.num(5)) << where << ": " << *v;
            continue;
        }
        if (r[0] == "~") {
            const auto xs = closes(r[3]);
            const auto n = static_cast<std::size_t>(r.num(4));
            const auto got = run(r[1], r[2], xs);
            for (std::size_t i = n - 1; i < xs.size(); ++i) {
                const auto fresh = run(r[1], r[2], std::vector<double>(xs.begin() + (i + 1 - n), xs.begin() + (i + 1)));
                expect_value(got[i], {false, fresh.back()}, 0.0, where + " at " + std::to_string(i));
            }
            continue;
        }
        // Rows that share a kind, its parameters and its closes share one run.
        static std::map<std::string, Values> runs;
        const auto key = r[0] + " " + r[1] + " " + r[2];
        if (!runs.count(key)) runs[key] = run(r[0], r[1], closes(r[2]));
        const auto& got = runs[key];
        const double tol = r.size() > 5 ? r.num(5) : 0.0;
        if (r[3] == "*") {
            const auto want = want_list(r[4]);
            ASSERT_EQ(got.size(), want.size()) << where;
            for (std::size_t i = 0; i < got.size(); ++i) expect_value(got[i], want[i], tol, where + " at " + std::to_string(i));
        } else {
            const auto i = static_cast<std::size_t>(r.num(3));
            ASSERT_LT(i, got.size()) << where;
            expect_value(got[i], r[4] == "-" ? Want{} : want_list(r[4]).at(0), tol, where + " at " + std::to_string(i));
        }
    }
}
