// Shared core of the candlestick-pattern kinds: the +1 / -1 / 0 coding, the candle
// geometry they are written in, and the history of the most recent valid candles.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/candle_guard.hpp"
#include "indicators/indicator.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

// Pattern codes: bullish form (or presence, for a kind without direction), bearish
// form, no pattern ending on this bar.
inline constexpr double PATTERN_BULLISH = 1.0;
inline constexpr double PATTERN_BEARISH = -1.0;
inline constexpr double PATTERN_NONE = 0.0;

// One candle in the terms the patterns are stated in.
struct CandleShape {
    double o = 0.0;
    double h = 0.0;
    double l = 0.0;
    double c = 0.0;
    double range = 0.0;   // h - l
    double body = 0.0;    // |c - o|
    double top = 0.0;     // max(o, c)
    double bottom = 0.0;  // min(o, c)

    static CandleShape of(const Candle& k) {
        CandleShape s;
        s.o = k.open;
        s.h = k.high;
        s.l = k.low;
        s.c = k.close;
        s.range = k.high - k.low;
        s.body = std::fabs(k.close - k.open);
        s.top = std::max(k.open, k.close);
        s.bottom = std::min(k.open, k.close);
        return s;
    }
    double upper_shadow() const { return h - top; }
    double lower_shadow() const { return bottom - l; }
    // Strict: a candle with close equal to open is neither white nor black.
    bool white() const { return c > o; }
    bool black() const { return c < o; }
    // A positive range and a body of at most a tenth of it.
    bool doji() const { return range > 0 && body <= 0.1 * range; }
};

// Candles 1..N of a formation, oldest first; the last one is the current candle.
template <std::size_t N>
using CandleShapes = std::array<CandleShape, N>;

// Base of every fixed-length candlestick kind. Derived supplies
//   double test(const CandleShapes<N>&) const
// returning one of the pattern codes. Each update validates the candle (a failing
// one is ignored and leaves the history alone), shifts the history so that it ends
// with the current candle (whatever the outcome of the test), and yields no value
// until N valid candles have been seen.
template <class Derived, std::size_t N>
class CandlePattern : public Indicator {
    static_assert(N >= 1 && N <= 5, "candlestick formations span one to five candles");

public:
    std::optional<double> update(const FeedSnapshot& f) final {
        const Candle* candle = checked_candle(f);
        if (!candle) return std::nullopt;
        for (std::size_t i = 1; i < N; ++i) window_[i - 1] = window_[i];
        window_[N - 1] = *candle;
        if (seen_ < N) ++seen_;
        if (seen_ < N) return std::nullopt;
        CandleShapes<N> shapes;
        for (std::size_t i = 0; i < N; ++i) shapes[i] = CandleShape::of(window_[i]);
        return static_cast<const Derived&>(*this).test(shapes);
    }
    std::size_t warmup_period() const final { return N; }

private:
    std::array<Candle, N> window_{};  // the N - 1 previous valid candles, then the current one
    std::size_t seen_ = 0;            // valid candles so far, capped at N
};

// Base of the two kinds that judge a candle's range against the mean range of the
// five valid candles before it. Derived supplies
//   bool range_qualifies(double range, double mean) const
// The first value comes with the sixth valid candle, though the reported warm-up is
// the look-back length, 5.
template <class Derived>
class RangeAgainstRecent : public Indicator {
public:
    RangeAgainstRecent() : ranges_(lookback_) {}

    std::optional<double> update(const FeedSnapshot& f) final {
        const Candle* candle = checked_candle(f);
        if (!candle) return std::nullopt;
        const CandleShape k = CandleShape::of(*candle);
        const double r = k.range;
        if (ranges_.size() < lookback_) {
            ranges_.push(r);
            return std::nullopt;
        }
        double sum = 0.0;
        ranges_.for_each([&sum](double x) { sum += x; });
        const double mean = sum / static_cast<double>(lookback_);
        ranges_.push(r);  // drops the oldest
        if (!static_cast<const Derived&>(*this).range_qualifies(r, mean)) return PATTERN_NONE;
        if (k.body < 0.5 * r) return PATTERN_NONE;
        return k.c - k.o > 0 ? PATTERN_BULLISH : PATTERN_BEARISH;
    }
    std::size_t warmup_period() const final { return lookback_; }

private:
    std::size_t lookback_ = 5;
    Ring<double> ranges_;  // ranges of the earlier valid candles, oldest first
};

}  // namespace ostrel::core
