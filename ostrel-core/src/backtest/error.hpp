// The error of the strategy and engine side.
#pragma once

#include <string>
#include <utility>

namespace ostrel {

struct BacktestError {
    enum class Kind { InvalidSpec, UnknownIndicator, InvalidParams, UndeclaredIndicator, InvalidData };
    Kind kind;
    std::string text;    // the variant's text; for InvalidParams the indicator name
    std::string reason;  // InvalidParams only

    static BacktestError invalid_spec(std::string t) { return {Kind::InvalidSpec, std::move(t), {}}; }
    static BacktestError unknown_indicator(std::string name) {
        return {Kind::UnknownIndicator, std::move(name), {}};
    }
    static BacktestError invalid_params(std::string indicator, std::string reason) {
        return {Kind::InvalidParams, std::move(indicator), std::move(reason)};
    }
    static BacktestError undeclared_indicator(std::string t) {
        return {Kind::UndeclaredIndicator, std::move(t), {}};
    }
    static BacktestError invalid_data(std::string t) { return {Kind::InvalidData, std::move(t), {}}; }

    std::string display() const {
        switch (kind) {
            case Kind::InvalidSpec: return "invalid strategy spec: " + text;
            case Kind::UnknownIndicator: return "unknown indicator type: " + text;
            case Kind::InvalidParams: return "invalid parameters for indicator " + text + ": " + reason;
            case Kind::UndeclaredIndicator: return "rule references undeclared indicator: " + text;
            case Kind::InvalidData: return "invalid input data: " + text;
        }
        return {};
    }
    bool operator==(const BacktestError&) const = default;
};

}  // namespace ostrel
