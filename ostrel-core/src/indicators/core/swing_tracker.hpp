// The swing-pivot tracker: confirmed, alternating swing highs and lows, each
// confirmed once price has moved a fixed fraction against the running extreme.
// The chart-pattern, harmonic-pattern and Fibonacci kinds each own one tracker;
// ZigZag runs the same reversal rule without a pivot list.
#pragma once

#include <cstddef>
#include <optional>

#include "indicators/core/ring.hpp"

namespace ostrel::core {

// One confirmed pivot.
struct SwingPivot {
    double price = 0.0;      // the swing's extreme: a high for a swing high, a low for a swing low
    double direction = 0.0;  // +1 for a swing high, -1 for a swing low
    std::size_t index = 0;   // ordinal of the bar that set the extreme
};

// The reversal rule on its own: the running swing and its extreme.
class SwingRule {
public:
    explicit SwingRule(double threshold) : threshold_(threshold) {}

    // Consumes the high and low of the bar with ordinal `i`; gives the pivot that the
    // bar confirmed, if any. A new extreme is tested before a reversal, so one bar
    // never both extends and reverses; the first swing is always an up-swing.
    std::optional<SwingPivot> step(double high, double low, std::size_t i) {
        if (!started_) {
            started_ = true;
            direction_ = 1.0;
            extreme_ = high;
            extreme_index_ = i;
            return std::nullopt;
        }
        if (direction_ > 0) {
            if (high > extreme_) {
                extreme_ = high;
                extreme_index_ = i;
                return std::nullopt;
            }
            if (low <= extreme_ * (1.0 - threshold_)) return flip(-1.0, low, i);
            return std::nullopt;
        }
        if (low < extreme_) {
            extreme_ = low;
            extreme_index_ = i;
            return std::nullopt;
        }
        if (high >= extreme_ * (1.0 + threshold_)) return flip(1.0, high, i);
        return std::nullopt;
    }

private:
    // Confirms the running swing as a pivot and starts the opposite swing at this bar.
    SwingPivot flip(double direction, double extreme, std::size_t i) {
        SwingPivot p{extreme_, direction_, extreme_index_};
        direction_ = direction;
        extreme_ = extreme;
        extreme_index_ = i;
        return p;
    }

    double threshold_;
    bool started_ = false;
    double direction_ = 0.0;
    double extreme_ = 0.0;
    std::size_t extreme_index_ = 0;
};

// The rule with the list of the last `max_pivots` confirmed pivots, oldest first.
class SwingTracker {
public:
    // `max_pivots` is at least 1 (the owning kinds fix it).
    SwingTracker(double threshold, std::size_t max_pivots) : rule_(threshold), pivots_(max_pivots) {}

    // Consumes one bar; true exactly when the bar confirmed a new pivot, which is
    // then the newest entry. A full list drops its oldest pivot first.
    bool step(double high, double low) {
        const std::size_t i = bar_count_++;
        auto p = rule_.step(high, low, i);
        if (!p) return false;
        pivots_.push(*p);
        return true;
    }

    std::size_t size() const { return pivots_.size(); }
    // i = 0 is the oldest pivot held.
    const SwingPivot& pivot(std::size_t i) const { return pivots_[i]; }
    // i = 0 is the newest pivot.
    const SwingPivot& newest(std::size_t i = 0) const { return pivots_.back(i); }
    // Bars stepped so far; the current bar's ordinal is bar_count() - 1.
    std::size_t bar_count() const { return bar_count_; }

private:
    SwingRule rule_;
    Ring<SwingPivot> pivots_;
    std::size_t bar_count_ = 0;
};

}  // namespace ostrel::core
