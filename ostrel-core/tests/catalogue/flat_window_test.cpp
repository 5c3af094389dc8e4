// Kinds whose value on a window of equal inputs is fixed (a dispersion of exactly 0,
// an oscillator at its midpoint, a ratio's zero-dispersion answer) give exactly that
// value at prices whose sums are not exact, however the window became flat: flat from
// the first bar, flat after a walk whose length lines up with no re-sum, and in the
// untraded runs of a forward-filled walk. Rows live in data/flat/*.txt:
//
//   kind params output value cover [scenarios]
//
// params: "-" or numbers joined by commas; output: "value" or a named output; value:
// the exact value; cover: how many flat bars the window needs before the value holds;
// scenarios (optional, default "fwr"): f flat from the first bar, w flat after a
// walk, r the forward-filled walk's runs (volume 0 on their bars).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.hpp"
#include "support/flat_series.hpp"
#include "support/table_file.hpp"

namespace {

using flat_series::Bar;

struct FlatRow {
    std::string file;
    int line;
    std::string kind;
    std::vector<double> params;
    std::string output;
    double value;
    std::size_t cover;
    std::string scenarios;
};

std::vector<FlatRow> flat_rows() {
    std::vector<FlatRow> rows;
    const auto dir = std::filesystem::path(OSTREL_TEST_DATA_DIR) / "catalogue/data/flat";
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.path().extension() == ".txt") files.push_back(e.path().filename().string());
    std::sort(files.begin(), files.end());
    for (const auto& f : files)
        for (const auto& r : table_file::read("catalogue/data/flat/" + f))
            rows.push_back({f, r.line, r[0], table_file::number_list(r[1]), r[2], r.num(3), static_cast<std::size_t>(r.num(4)),
                            r.size() > 5 ? r[5] : "fwr"});
    return rows;
}

// The row's output after each bar (none where the kind gave no value).
std::vector<std::optional<double>> outputs(const FlatRow& row, const std::vector<Bar>& bars) {
    std::vector<std::optional<double>> out;
    auto built = ostrel::build_indicator(row.kind, row.params);
    if (!built) {
        ADD_FAILURE() << row.file << ":" << row.line << " " << built.error().display();
        return out;
    }
    for (const auto& b : bars) {
        auto v = (*built)->update(b.snapshot());
        std::optional<double> x;
        if (v && row.output == "value") x = *v;
        else if (v)
            for (const auto& o : (*built)->outputs())
                if (o.name == row.output) x = o.value;
        out.push_back(x);
    }
    return out;
}

// Same value and, for a zero, the same sign.
bool exact(std::optional<double> got, double want) {
    return got && *got == want && std::signbit(*got) == std::signbit(want);
}

std::string show(std::optional<double> v) {
    if (!v) return "none";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", *v);
    return buf;
}

constexpr double kPrices[] = {102.6, 97.3};
constexpr std::size_t kWalk = 307;  // lines up with no period of the rows

TEST(FlatWindow, EveryRowFlatFromTheFirstBarAndAfterAWalk) {
    const auto rows = flat_rows();
    ASSERT_FALSE(rows.empty());
    for (const auto& row : rows) {
        const std::size_t rest = 3 * row.cover + 40;
        for (double p : kPrices) {
            struct Case {
                char tag;
                std::vector<Bar> bars;
                std::size_t flat_from;
            };
            std::vector<Case> cases;
            if (row.scenarios.find('f') != std::string::npos) cases.push_back({'f', flat_series::flat(p, rest), 0});
            if (row.scenarios.find('w') != std::string::npos)
                cases.push_back({'w', flat_series::walk_then_flat(p, kWalk, rest), kWalk});
            for (const auto& c : cases) {
                const auto got = outputs(row, c.bars);
                if (got.empty()) break;
                std::size_t wrong = 0;
                for (std::size_t i = c.flat_from + row.cover - 1; i < got.size(); ++i)
                    if (!exact(got[i], row.value) && wrong++ == 0)
                        ADD_FAILURE() << row.file << ":" << row.line << " " << row.kind << " " << row.output << " at "
                                      << p << (c.tag == 'f' ? ", flat from the first bar" : ", flat after a walk")
                                      << ": bar " << i << " gives " << show(got[i]) << ", want " << show(row.value);
            }
        }
    }
}

TEST(FlatWindow, ForwardFilledRunsGiveTheFlatValue) {
    for (const auto& row : flat_rows()) {
        if (row.scenarios.find('r') == std::string::npos) continue;
        for (std::uint64_t seed : {11u, 12u}) {
            const auto ff = flat_series::forward_filled(kPrices[seed % 2], 3000, seed);
            const auto got = outputs(row, ff.bars);
            if (got.empty()) break;
            std::size_t checked = 0;
            for (std::size_t i = 0; i < got.size(); ++i) {
                if (ff.run[i] < row.cover) continue;
                ++checked;
                if (!exact(got[i], row.value)) {
                    ADD_FAILURE() << row.file << ":" << row.line << " " << row.kind << " " << row.output
                                  << " forward-filled (seed " << seed << "): bar " << i << " (" << ff.run[i]
                                  << " untraded bars) gives " << show(got[i]) << ", want " << show(row.value);
                    break;
                }
            }
            EXPECT_GT(checked, 0u) << row.file << ":" << row.line << " " << row.kind << ": no run covers its window";
        }
    }
}

}  // namespace
