// Steps of the close against the previous accepted close: the log returns of the
// return-volatility kinds, and the previous finite close of the change kinds.
#pragma once

#include <cmath>
#include <optional>

namespace ostrel::core {

// A close that is not finite or not above 0 is ignored; the first accepted close
// only sets the base.
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

// A non-finite close is ignored and the first finite one only learned; after that,
// each finite close gives the close before it, which it then replaces.
class PreviousClose {
public:
    std::optional<double> step(double close) {
        if (!std::isfinite(close)) return std::nullopt;
        if (!prev_) {
            prev_ = close;
            return std::nullopt;
        }
        const double prev = *prev_;
        prev_ = close;
        return prev;
    }

private:
    std::optional<double> prev_;
};

}  // namespace ostrel::core
