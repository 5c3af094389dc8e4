// Small running states shared by the volume and money-flow lines and the session
// VWAP. None checks its input: callers pass the fields of a candle that passed the
// candle checks. Also the kind cores of the VWAP since construction, of the volume
// indexes and of the close-change totals.
#pragma once

#include <cstddef>
#include <optional>
#include <utility>

#include "indicators/candle_guard.hpp"
#include "indicators/indicator.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::core {

// Williams accumulation/distribution total: the first close is only learned; then a
// rise adds close - min(low, previous close), a fall adds close - max(high, previous
// close) and an unchanged close adds nothing.
class WilliamsAccumulation {
public:
    std::optional<double> step(double high, double low, double close) {
        if (!prev_close_) {
            prev_close_ = close;
            return std::nullopt;
        }
        const double p = *prev_close_;
        if (close > p) {
            total_ = total_ + (close - (low < p ? low : p));
        } else if (close < p) {
            total_ = total_ + (close - (high > p ? high : p));
        }
        prev_close_ = close;
        return total_;
    }

private:
    std::optional<double> prev_close_;
    double total_ = 0.0;
};

// The kind core of the positive and negative volume indexes: starting at 1000, the
// index moves by the fractional change of the close only on checked candles whose
// volume rose (positive) or fell (negative) against the previous candle.
class VolumeIndexKind : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = checked_candle(f);
        if (!c) return std::nullopt;
        return step(c->close, c->volume);
    }
    std::size_t warmup_period() const override { return 1; }

protected:
    explicit VolumeIndexKind(bool on_rising_volume) : on_rising_(on_rising_volume) {}

private:
    double step(double close, double volume) {
        if (prev_) {
            const auto [p, pv] = *prev_;
            const bool moved = on_rising_ ? volume > pv : volume < pv;
            if (p != 0.0 && moved) index_ = index_ + ((close - p) / p) * index_;
        }
        prev_ = std::pair<double, double>{close, volume};
        return index_;
    }

    bool on_rising_;
    std::optional<std::pair<double, double>> prev_;  // previous close and volume
    double index_ = 1000.0;
};

// The kind core of Obv and VolumePriceTrend: the first checked candle only sets the
// previous close; each later one replaces the total by the kind's own
// `next(total, close, previous close, volume)`. The value is the total, 0 at first.
template <class Kind>
class CloseChangeTotalKind : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = checked_candle(f);
        if (!c) return std::nullopt;
        if (prev_close_) total_ = Kind::next(total_, c->close, *prev_close_, c->volume);
        prev_close_ = c->close;
        return total_;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    std::optional<double> prev_close_;
    double total_ = 0.0;
};

// Running sums of typical price times volume and of volume.
class VwapSums {
public:
    // ((high + low) + close) / 3.
    static double typical_price(double high, double low, double close) { return ((high + low) + close) / 3.0; }

    void add(double price, double volume) {
        pv_sum_ = pv_sum_ + volume * price;
        volume_sum_ = volume_sum_ + volume;
    }
    void clear() {
        pv_sum_ = 0.0;
        volume_sum_ = 0.0;
    }
    double volume_sum() const { return volume_sum_; }
    // The weighted mean; only meaningful once some volume has been added.
    double mean() const { return pv_sum_ / volume_sum_; }

private:
    double pv_sum_ = 0.0;
    double volume_sum_ = 0.0;
};

// The kind core of Vwap and AnchoredVwap: the volume-weighted mean of the typical
// prices of every checked candle since construction; nothing while no volume has
// been seen. It never resets.
class CumulativeVwapKind : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = checked_candle(f);
        if (!c) return std::nullopt;
        sums_.add(VwapSums::typical_price(c->high, c->low, c->close), c->volume);
        if (sums_.volume_sum() == 0.0) return std::nullopt;
        return sums_.mean();
    }
    std::size_t warmup_period() const override { return 1; }

private:
    VwapSums sums_;
};

// Volume against its simple average over `period` candles: nothing until the
// average is full, then volume / average, or 0 while the average is not above 0.
class VolumeWidth {
public:
    static Expected<VolumeWidth, IndicatorError> make(std::size_t period) {
        auto avg = Sma::make(period);
        if (!avg) return avg.error();
        return VolumeWidth(std::move(*avg));
    }

    std::optional<double> step(double volume) {
        auto avg = avg_.step(volume);
        if (!avg) return std::nullopt;
        return *avg > 0.0 ? volume / *avg : 0.0;
    }

    std::size_t period() const { return avg_.period(); }

private:
    explicit VolumeWidth(Sma avg) : avg_(std::move(avg)) {}
    Sma avg_;
};

}  // namespace ostrel::core
