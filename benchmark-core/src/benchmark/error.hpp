// The error of the benchmark side: a variant and its text; the
// display text is the variant's prefix followed by the text.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "backtest/error.hpp"

namespace ostrel {

struct BenchmarkError {
    enum class Kind { InvalidCase, InvalidStrategySpec, Data, BacktestEngine, Parse };
    Kind kind;
    std::string text;

    static BenchmarkError invalid_case(std::string t) { return {Kind::InvalidCase, std::move(t)}; }
    static BenchmarkError invalid_strategy_spec(std::string t) {
        return {Kind::InvalidStrategySpec, std::move(t)};
    }
    static BenchmarkError data(std::string t) { return {Kind::Data, std::move(t)}; }
    // BacktestEngine holding the BacktestError's display text.
    static BenchmarkError backtest_engine(const BacktestError& e) { return {Kind::BacktestEngine, e.display()}; }
    static BenchmarkError backtest_engine_text(std::string t) { return {Kind::BacktestEngine, std::move(t)}; }
    static BenchmarkError parse(std::string t) { return {Kind::Parse, std::move(t)}; }

    static std::string_view prefix(Kind k) {
        switch (k) {
            case Kind::InvalidCase: return "invalid case: ";
            case Kind::InvalidStrategySpec: return "invalid strategy spec: ";
            case Kind::Data: return "data error: ";
            case Kind::BacktestEngine: return "backtest engine error: ";
            case Kind::Parse: return "parse error: ";
        }
        return "";
    }
    std::string display() const {
        std::string s(prefix(kind));
        s += text;
        return s;
    }
    bool operator==(const BenchmarkError&) const = default;
};

}  // namespace ostrel
