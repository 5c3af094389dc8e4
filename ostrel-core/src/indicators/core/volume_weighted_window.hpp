// Volume-weighted mean of the last `period` prices. Running sums of price * volume,
// of volumes and of prices are rebuilt exactly from the window (arrival order, from
// 0) every `period` pushes, the first time on the push that fills it. A window
// without volume falls back to the plain mean of its prices: also when its volumes
// are all 0 but the volume sum still holds a residue of the volumes that left it
// (forward-filled bars), and when that sum is read below 0. No checks of its own.
#pragma once

#include <cstddef>
#include <optional>
#include <utility>

#include "indicators/indicator.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

class VolumeWeightedWindow {
public:
    static Expected<VolumeWeightedWindow, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return VolumeWeightedWindow(period);
    }

    std::optional<double> push(double price, double volume) {
        if (ring_.full()) {
            auto [p, v] = ring_.oldest();
            ring_.pop_oldest();
            pv_sum_ = pv_sum_ - p * v;
            v_sum_ = v_sum_ - v;
            p_sum_ = p_sum_ - p;
        }
        ring_.push({price, volume});
        volumes_.push(volume);
        pv_sum_ = pv_sum_ + price * volume;
        v_sum_ = v_sum_ + volume;
        p_sum_ = p_sum_ + price;
        if (++pushes_ == period_) {
            double pv = 0.0, vs = 0.0, ps = 0.0;
            ring_.for_each([&](const std::pair<double, double>& e) {
                pv = pv + e.first * e.second;
                vs = vs + e.second;
                ps = ps + e.first;
            });
            pv_sum_ = pv;
            v_sum_ = vs;
            p_sum_ = ps;
            pushes_ = 0;
        }
        if (!ring_.full()) return std::nullopt;
        const bool no_volume = volumes_.covers(period_);
        const double mean = v_sum_ > 0.0 && !no_volume ? pv_sum_ / v_sum_ : p_sum_ / static_cast<double>(period_);
        last_ = mean;
        return mean;
    }

    std::size_t period() const { return period_; }
    std::optional<double> last() const { return last_; }

private:
    explicit VolumeWeightedWindow(std::size_t period) : ring_(period), period_(period) {}

    Ring<std::pair<double, double>> ring_;
    std::size_t period_;
    double pv_sum_ = 0.0;
    double v_sum_ = 0.0;
    double p_sum_ = 0.0;
    std::size_t pushes_ = 0;  // the three sums' counts move together
    ZeroRun volumes_;        // watches the volumes only; the sums stay as they are
    std::optional<double> last_;
};

}  // namespace ostrel::core
