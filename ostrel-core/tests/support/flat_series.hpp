// Bar series with flat stretches at prices whose sums do not come out exact (102.6,
// 97.3): flat from the first bar, flat after a random walk, and a walk whose untraded
// bars repeat the last price (forward-filled candles). Every feed is flat where the
// candles are, so that each kind sees a window of equal inputs.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "support/feed_bar.hpp"

namespace flat_series {

using Bar = feed_bar::FeedBar;

using Rng = feed_bar::Rng;

inline std::int64_t bar_time(std::size_t i) { return 1'700'000'000'000 + 3'600'000 * static_cast<std::int64_t>(i); }

// Every feed at rest: one price p for the whole candle (volume `volume`), the
// reference at `ref`, the same derivatives record, trade, order book and
// cross-section as on every other flat bar at p.
inline Bar flat_bar(std::size_t i, double p, double ref, double volume) {
    Bar b;
    b.candle = {bar_time(i), p, p, p, p, volume};
    b.reference = ref;
    b.derivatives = ostrel::DerivativesTick{0.0001, p, p, p, 1000.0, 100.0, 100.0, 5.0, 5.0, 0.0, 0.0, 0.0};
    b.trades.push_back({p, 1.0, b.candle.time, false});
    b.book.emplace();
    for (int l = 1; l <= 3; ++l) {
        b.book->bids.push_back({p - 0.01 * l, 2.0});
        b.book->asks.push_back({p + 0.01 * l, 2.0});
    }
    b.cross.emplace();
    for (int e = 0; e < 10; ++e) b.cross->push_back({0.001, 100.0, false, false, true, e % 2 == 0});
    return b;
}

// One step of a walk of about 1 % a bar, every feed moving.
class Walker {
public:
    Walker(std::uint64_t seed, double price) : r_{seed}, p_(price), q_(price * 0.9) {}

    Bar next(std::size_t i) {
        const double open = p_;
        p_ = p_ * (1.0 + (r_.unit() - 0.5) * 0.02);
        q_ = q_ * (1.0 + (r_.unit() - 0.5) * 0.02);
        const double hi = std::max(open, p_) * (1.0 + 0.003 * r_.unit());
        const double lo = std::min(open, p_) * (1.0 - 0.003 * r_.unit());
        const double volume = 500.0 + 1000.0 * r_.unit();
        Bar b = flat_bar(i, p_, q_, volume);
        b.candle.open = open;
        b.candle.high = hi;
        b.candle.low = lo;
        b.derivatives->funding_rate = (r_.unit() - 0.5) * 0.001;
        b.derivatives->mark_price = p_ * (1.0 + (r_.unit() - 0.5) * 0.001);
        b.derivatives->open_interest = 1000.0 + 100.0 * r_.unit();
        b.trades[0].size = 0.5 + r_.unit();
        b.trades[0].is_sell = r_.unit() < 0.5;
        for (auto& l : b.book->bids) l.size = 1.0 + r_.unit();
        b.cross->front().change = (r_.unit() - 0.5) * 0.01;
        return b;
    }
    double price() const { return p_; }
    double reference() const { return q_; }

private:
    Rng r_;
    double p_;
    double q_;
};

// n bars flat at p from the first bar.
inline std::vector<Bar> flat(double p, std::size_t n) {
    std::vector<Bar> out;
    for (std::size_t i = 0; i < n; ++i) out.push_back(flat_bar(i, p, p * 0.9, 1000.0));
    return out;
}

// `walk` bars of a walk starting at p, then `rest` bars flat at p.
inline std::vector<Bar> walk_then_flat(double p, std::size_t walk, std::size_t rest) {
    std::vector<Bar> out;
    Walker w(walk * 7919 + 1, p);
    for (std::size_t i = 0; i < walk; ++i) out.push_back(w.next(i));
    for (std::size_t i = 0; i < rest; ++i) out.push_back(flat_bar(walk + i, p, p * 0.9, 1000.0));
    return out;
}

// A walk of n bars from p in which runs of 1 to 60 untraded bars (volume 0, every
// feed repeating the last traded bar's close and reference) take about a fifth of
// the bars. `run[i]` is how many bars up to i repeat the same price (0 on traded bars).
struct ForwardFilled {
    std::vector<Bar> bars;
    std::vector<std::size_t> run;
};

inline ForwardFilled forward_filled(double p, std::size_t n, std::uint64_t seed) {
    ForwardFilled f;
    Walker w(seed, p);
    Rng r{seed ^ 0x5bd1e995u};
    while (f.bars.size() < n) {
        const std::size_t i = f.bars.size();
        f.bars.push_back(w.next(i));
        f.run.push_back(0);
        if (r.unit() < 0.07) {
            const std::size_t len = 1 + static_cast<std::size_t>(r.unit() * 60.0);
            for (std::size_t k = 1; k <= len && f.bars.size() < n; ++k) {
                f.bars.push_back(flat_bar(f.bars.size(), w.price(), w.reference(), 0.0));
                f.run.push_back(k);
            }
        }
    }
    return f;
}

}  // namespace flat_series
