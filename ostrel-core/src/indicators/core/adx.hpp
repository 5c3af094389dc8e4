// Directional movement. `DirectionalMovement` smooths TR, +DM and -DM with Wilder's
// sum smoothing (seeded with the plain sums of the first `period` moves) and derives
// +DI, -DI and DX; `Adx` averages DX on top of it. The candle must have passed the
// candle checks; the cores check nothing themselves.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"
#include "indicators/core/true_range.hpp"

namespace ostrel::core {

struct DirectionalValues {
    double tr;        // smoothed true range
    double plus_dm;   // smoothed +DM
    double minus_dm;  // smoothed -DM
    double plus_di;
    double minus_di;
    double dx;
};

class DirectionalMovement {
public:
    static Expected<DirectionalMovement, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return DirectionalMovement(period);
    }

    // Nothing on the first candle and until `period` moves are summed, so the first
    // values come on update period + 1.
    std::optional<DirectionalValues> step(const Candle& c) {
        if (!prev_) {
            prev_ = c;
            return std::nullopt;
        }
        const Candle p = *prev_;
        double tr = true_range(c.high, c.low, p.close);
        double up = c.high - p.high;
        double down = p.low - c.low;
        double plus_dm = (up > down && up > 0.0) ? up : 0.0;
        double minus_dm = (down > up && down > 0.0) ? down : 0.0;
        prev_ = c;

        if (seeded_) {
            tr_ = smooth(tr_, tr);
            plus_ = smooth(plus_, plus_dm);
            minus_ = smooth(minus_, minus_dm);
        } else {
            tr_sum_ = tr_sum_ + tr;
            plus_sum_ = plus_sum_ + plus_dm;
            minus_sum_ = minus_sum_ + minus_dm;
            if (++seed_count_ < period_) return std::nullopt;
            tr_ = tr_sum_;
            plus_ = plus_sum_;
            minus_ = minus_sum_;
            seeded_ = true;
        }

        DirectionalValues v{tr_, plus_, minus_, 0.0, 0.0, 0.0};
        if (tr_ != 0.0) {
            v.plus_di = (plus_ * 100.0) / tr_;
            v.minus_di = (minus_ * 100.0) / tr_;
        }
        double di_sum = v.plus_di + v.minus_di;
        if (di_sum != 0.0) v.dx = (std::fabs(v.plus_di - v.minus_di) * 100.0) / di_sum;
        return v;
    }

    std::size_t period() const { return period_; }

private:
    explicit DirectionalMovement(std::size_t period) : period_(period), n_(static_cast<double>(period)) {}

    // S = X + (S - S/n)
    double smooth(double s, double x) const { return x + (s - s / n_); }

    std::optional<Candle> prev_;
    std::size_t period_;
    double n_;
    double tr_sum_ = 0.0;
    double plus_sum_ = 0.0;
    double minus_sum_ = 0.0;
    std::size_t seed_count_ = 0;
    bool seeded_ = false;
    double tr_ = 0.0;
    double plus_ = 0.0;
    double minus_ = 0.0;
};

struct AdxValues {
    double plus_di;
    double minus_di;
    double adx;
};

class Adx {
public:
    static Expected<Adx, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Adx(period);
    }

    // The first triple comes on update 2 * period: DX from update period + 1, then
    // `period` DX values averaged (summed in arrival order from -0.0), then
    // ADX = (DX + (n - 1) * ADX) / n.
    std::optional<AdxValues> step(const Candle& c) {
        auto d = dm_.step(c);
        if (!d) return std::nullopt;
        if (adx_seeded_) {
            adx_ = (d->dx + (n_ + (-1.0)) * adx_) / n_;
        } else {
            dx_sum_ = dx_sum_ + d->dx;
            if (++dx_count_ < dm_.period()) return std::nullopt;
            adx_ = dx_sum_ / n_;
            adx_seeded_ = true;
        }
        return AdxValues{d->plus_di, d->minus_di, adx_};
    }

    std::size_t period() const { return dm_.period(); }

private:
    explicit Adx(std::size_t period)
        : dm_(*DirectionalMovement::make(period)), n_(static_cast<double>(period)) {}

    DirectionalMovement dm_;
    double n_;
    // The DX values before the first ADX are only ever summed in arrival order, so a
    // running left-to-right sum stands in for the list of them.
    double dx_sum_ = -0.0;
    std::size_t dx_count_ = 0;
    bool adx_seeded_ = false;
    double adx_ = 0.0;
};

}  // namespace ostrel::core
