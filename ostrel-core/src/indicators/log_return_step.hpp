// Log returns of the close for the return-volatility kinds: a close that is not
// finite or not above 0 is ignored; the first accepted close only sets the base.
#pragma once

#include <cmath>
#include <optional>

namespace ostrel::core {

class LogReturnStep {
public:
    // ln(close / previous accepted close), which close then replaces.
    std::optional<double> step(double close) {
        if (!std::isfinite(close) || !(close > 0.0)) return std::nullopt;
        if (!prev_close_) {
            prev_close_ = close;
            return std::nullopt;
        }
        double r = std::log(close / *prev_close_);
        prev_close_ = close;
        return r;
    }

private:
    std::optional<double> prev_close_;
};

}  // namespace ostrel::core
