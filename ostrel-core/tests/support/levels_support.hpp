// Helpers for the level-kind tests: candles of volume 1 from four prices or from a
// span, and a build by name that records a failed build as a test failure.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string_view>
#include <vector>

#include "catalogue/catalogue.hpp"

namespace levels_support {

inline ostrel::FeedSnapshot candle(double open, double high, double low, double close) {
    ostrel::FeedSnapshot f;
    f.candle = ostrel::Candle{0, open, high, low, close, 1.0};
    return f;
}

// A candle spanning [low, high], opening at the low and closing at the high.
inline ostrel::FeedSnapshot span(double high, double low) { return candle(low, high, low, high); }

inline std::unique_ptr<ostrel::Indicator> make(std::string_view kind, std::vector<double> params = {}) {
    auto r = ostrel::build_indicator(kind, params);
    if (!r) {
        ADD_FAILURE() << r.error().display();
        return nullptr;
    }
    return std::move(*r);
}

}  // namespace levels_support
