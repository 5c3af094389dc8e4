// Commodity channel index core: the last `period` typical prices with a running sum
// that is re-summed exactly (oldest first, from -0.0) on every period-th push,
// counted from construction. Shared by the CCI and stochastic CCI kinds. A window of
// equal typical prices has no deviation: its CCI is exactly 0, whatever residue the
// running sum keeps.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

class CciWindow {
public:
    static Expected<CciWindow, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return CciWindow(period);
    }

    // Takes a checked candle; the CCI once `period` typical prices are held.
    std::optional<double> step(const Candle& c) {
        if (window_.full()) {
            sum_ = sum_ - window_.oldest();
            window_.pop_oldest();
        }
        double tp = ((c.high + c.low) + c.close) / 3.0;
        window_.push(tp);
        equal_.push(tp);
        sum_ = sum_ + tp;
        if (++pushes_ >= period_) {
            double s = -0.0;
            window_.for_each([&](double x) { s = s + x; });
            sum_ = s;
            pushes_ = 0;
        }
        if (!window_.full()) return std::nullopt;
        if (equal_.covers(period_)) return 0.0;
        const double n = static_cast<double>(period_);
        double mean = sum_ / n;
        double dev = 0.0;
        window_.for_each([&](double x) { dev = dev + std::fabs(x - mean); });
        double md = dev / n;
        if (md == 0.0) return 0.0;
        return (tp - mean) / (md * kConstant);
    }

    std::size_t period() const { return period_; }

private:
    static constexpr double kConstant = 0.015;

    explicit CciWindow(std::size_t period) : window_(period), period_(period) {}

    Ring<double> window_;
    std::size_t period_;
    double sum_ = 0.0;
    std::size_t pushes_ = 0;
    EqualRun equal_;
};

}  // namespace ostrel::core
