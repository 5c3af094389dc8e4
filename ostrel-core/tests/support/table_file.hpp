// Reads the tests' data files: plain-text tables under the tests' tree, one row a
// line, cells separated by white space, '#' starting a comment to the end of the
// line. A cell is read as a number with strtod, so every double is written exactly:
// decimal with 17 significant digits, hexadecimal floats ("0x1.8p+1"), "nan",
// "inf", "-inf", "-0". A cell "-" stands for no value.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#ifndef OSTREL_TEST_DATA_DIR
#error "OSTREL_TEST_DATA_DIR names the folder of the tests' data files"
#endif

namespace table_file {

struct Row {
    int line = 0;  // line number in the file, for failure messages
    std::vector<std::string> cells;

    std::size_t size() const { return cells.size(); }
    const std::string& operator[](std::size_t i) const { return cells.at(i); }
    double num(std::size_t i) const { return parse_number(cells.at(i)); }
    std::optional<double> opt(std::size_t i) const {
        if (cells.at(i) == "-") return std::nullopt;
        return num(i);
    }
    // The cells from `from` on, read as numbers.
    std::vector<double> nums(std::size_t from = 0) const {
        std::vector<double> out;
        for (std::size_t i = from; i < cells.size(); ++i) out.push_back(num(i));
        return out;
    }

    static double parse_number(const std::string& s) {
        char* end = nullptr;
        double v = std::strtod(s.c_str(), &end);
        if (end == s.c_str() || *end != '\0') ADD_FAILURE() << "not a number in a data file: '" << s << "'";
        return v;
    }
};

// Numbers joined by commas in one cell ("-" for none), such as a parameter list.
inline std::vector<double> number_list(const std::string& cell) {
    std::vector<double> out;
    if (cell == "-") return out;
    for (std::size_t from = 0; from <= cell.size();) {
        auto comma = cell.find(',', from);
        if (comma == std::string::npos) comma = cell.size();
        out.push_back(Row::parse_number(cell.substr(from, comma - from)));
        from = comma + 1;
    }
    return out;
}

// The rows of `relative_path` (relative to the tests' folder); a missing file is a
// test failure and gives no rows.
inline std::vector<Row> read(const std::string& relative_path) {
    std::vector<Row> rows;
    std::ifstream in(std::string(OSTREL_TEST_DATA_DIR) + "/" + relative_path);
    if (!in) {
        ADD_FAILURE() << "cannot read data file " << relative_path;
        return rows;
    }
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream cells(line);
        Row row{n, {}};
        for (std::string c; cells >> c;) row.cells.push_back(c);
        if (!row.cells.empty()) rows.push_back(std::move(row));
    }
    return rows;
}

// The rows split into sections: a row whose first cell is `marker` starts a section
// (its other cells name it); the rows after it, up to the next marker, belong to it.
struct Section {
    Row head;
    std::vector<Row> rows;
};
inline std::vector<Section> sections(const std::vector<Row>& rows, const std::string& marker) {
    std::vector<Section> out;
    for (const auto& r : rows) {
        if (r[0] == marker) out.push_back({r, {}});
        else if (!out.empty()) out.back().rows.push_back(r);
        else ADD_FAILURE() << "data row before the first '" << marker << "' at line " << r.line;
    }
    return out;
}

}  // namespace table_file
