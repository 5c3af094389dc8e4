// One state for the three DeMark kinds that run a setup followed by a countdown
// (the sequential count, its countdown alone, and the combo count): a window of the
// most recent valid candles, the setup counts, the countdown counts, the active
// direction and, for the sequential countdown, the level that the final count must
// reach.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "indicators/indicator.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/td_setup_count.hpp"

namespace ostrel::core {

class TdSequentialCore {
public:
    // Which countdown runs after a completed setup.
    enum class Rule { Sequential, Combo };

    static Expected<TdSequentialCore, IndicatorError> make(std::size_t setup_lookback, std::size_t setup_length,
                                                           std::size_t countdown_lookback,
                                                           std::size_t countdown_length, Rule rule) {
        if (setup_lookback == 0 || setup_length == 0 || countdown_lookback == 0 || countdown_length == 0)
            return IndicatorError::zero_period();
        // The window holds max(lookbacks) + 1 candles and the warm-up is that size:
        // a lookback beyond the largest window length is refused rather than
        // wrapping the size or exhausting memory.
        if (setup_lookback > MAX_PERIOD || countdown_lookback > MAX_PERIOD) return IndicatorError::too_long();
        return TdSequentialCore(setup_lookback, setup_length, countdown_lookback, countdown_length, rule);
    }

    // Consumes one valid candle; false while fewer than `window` earlier candles are
    // held (the candle is only stored then).
    bool step(const Candle& k) {
        if (earlier_.size() < window_) {
            earlier_.push(k);
            return false;
        }
        setup_.step(k.close, back(setup_lookback_).close);
        if (setup_.buy() == setup_.length()) {
            if (direction_ != Direction::Buy) restart_countdown();
            direction_ = Direction::Buy;
        } else if (setup_.sell() == setup_.length()) {
            if (direction_ != Direction::Sell) restart_countdown();
            direction_ = Direction::Sell;
        }
        if (direction_ != Direction::None) {
            if (rule_ == Rule::Sequential) sequential_countdown(k);
            else combo_countdown(k);
        }
        earlier_.push(k);  // drops the oldest once `window` candles are held
        return true;
    }

    double setup_value() const { return setup_.signed_value(); }
    // The countdown of the active direction: +buy, -sell, 0 without one (a sell
    // count of 0 is +0.0, never -0.0).
    double countdown_value() const {
        if (direction_ == Direction::Buy) return static_cast<double>(buy_countdown_);
        if (direction_ == Direction::Sell && sell_countdown_ != 0) return -static_cast<double>(sell_countdown_);
        return 0.0;
    }
    double direction_value() const {
        if (direction_ == Direction::Buy) return 1.0;
        if (direction_ == Direction::Sell) return -1.0;
        return 0.0;
    }
    std::size_t warmup_period() const { return window_ + 1; }

private:
    enum class Direction { None, Buy, Sell };

    TdSequentialCore(std::size_t setup_lookback, std::size_t setup_length, std::size_t countdown_lookback,
                     std::size_t countdown_length, Rule rule)
        : earlier_(std::max(setup_lookback, countdown_lookback)),
          window_(std::max(setup_lookback, countdown_lookback)),
          setup_lookback_(setup_lookback),
          countdown_lookback_(countdown_lookback),
          countdown_length_(countdown_length),
          setup_(setup_length),
          rule_(rule) {}

    // The candle k bars before the current one (1 <= k <= window).
    const Candle& back(std::size_t k) const { return earlier_.back(k - 1); }

    void restart_countdown() {
        buy_countdown_ = 0;
        sell_countdown_ = 0;
        level_ = std::numeric_limits<double>::quiet_NaN();
    }

    // Qualifying bars close at or beyond the extreme `countdown_lookback` bars back;
    // the final count also needs the bar's extreme at or beyond the level taken at
    // count `countdown_length` - 5, when that level is set.
    void sequential_countdown(const Candle& k) {
        const Candle& r = back(countdown_lookback_);
        if (direction_ == Direction::Buy) {
            if (k.close <= r.low) advance(buy_countdown_, k, std::isnan(level_) || k.low <= level_);
        } else {
            if (k.close >= r.high) advance(sell_countdown_, k, std::isnan(level_) || k.high >= level_);
        }
    }

    void advance(std::size_t& count, const Candle& k, bool final_allowed) {
        if (count >= countdown_length_) return;
        const std::size_t old = count;
        const std::size_t n = old + 1;
        if (n == countdown_length_ && !final_allowed) return;
        count = n;
        // The old count + 6 equals the length, written so that it cannot wrap.
        if (countdown_length_ >= 6 && old == countdown_length_ - 6) level_ = k.close;
    }

    // Combo bars also need a strictly better close than the previous bar and a
    // low (high) at or beyond the previous one.
    void combo_countdown(const Candle& k) {
        const Candle& p = back(1);
        const Candle& r = back(countdown_lookback_);
        if (direction_ == Direction::Buy) {
            if (k.close < p.close && k.close <= r.low && k.low <= p.low && buy_countdown_ < countdown_length_)
                ++buy_countdown_;
        } else {
            if (k.close > p.close && k.close >= r.high && k.high >= p.high && sell_countdown_ < countdown_length_)
                ++sell_countdown_;
        }
    }

    Ring<Candle> earlier_;  // the `window` most recent earlier valid candles, oldest first
    std::size_t window_;    // max(setup_lookback, countdown_lookback)
    std::size_t setup_lookback_;
    std::size_t countdown_lookback_;
    std::size_t countdown_length_;
    TdSetupCount setup_;
    std::size_t buy_countdown_ = 0;
    std::size_t sell_countdown_ = 0;
    Direction direction_ = Direction::None;
    double level_ = std::numeric_limits<double>::quiet_NaN();  // unused by the combo rule
    Rule rule_;
};

}  // namespace ostrel::core
