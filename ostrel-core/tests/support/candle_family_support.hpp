// Helpers for the candle-family tests: build by name, make candles, feed them, read
// the named outputs as values.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/build_support.hpp"
#include "catalogue/catalogue.hpp"

namespace candlefam {

using ostrel::Candle;
using ostrel::FeedSnapshot;
using ostrel::Indicator;
using Values = std::vector<std::optional<double>>;

using build_support::kMax;
using build_support::kMult;
using build_support::kZero;
using build_support::make;

// "built", or the reason of the catalogue's error (after the kind's name).
inline std::string reason(std::string_view kind, std::vector<double> params) {
    auto r = ostrel::build_indicator(kind, params);
    if (r) return "built";
    std::string text = r.error().display();
    std::string prefix = "invalid parameters for indicator " + std::string(kind) + ": ";
    if (text.rfind(prefix, 0) != 0) return "unexpected: " + text;
    return text.substr(prefix.size());
}

inline FeedSnapshot bar(double o, double h, double l, double c, double v = 100.0) {
    FeedSnapshot s;
    s.candle = Candle{0, o, h, l, c, v};
    return s;
}
// A candle whose four prices are all x.
inline FeedSnapshot flat(double x, double v = 100.0) { return bar(x, x, x, x, v); }

inline Values feed(Indicator& ind, const std::vector<FeedSnapshot>& bars) {
    Values out;
    for (const auto& b : bars) out.push_back(ind.update(b));
    return out;
}

// The values of the named outputs, in order.
inline std::vector<double> outs(const Indicator& ind) {
    std::vector<double> v;
    for (const auto& o : ind.outputs()) v.push_back(o.value);
    return v;
}

}  // namespace candlefam
