// Parabolic stop and reverse shared by Psar and SarExt. Each trend direction has its
// own acceleration schedule (initial value, step, maximum); the extended form adds a
// forced start and widens the stop by a fraction of itself on every reversal.
#pragma once

#include <cmath>
#include <limits>
#include <optional>

namespace ostrel::core {

struct SarSchedule {
    double init;
    double step;
    double max;
};

class ParabolicSar {
public:
    // `start`: 0 finds the direction from the first two candles; > 0 starts long at
    // `start`, < 0 short at |start|. `extended` applies `reverse_offset` on reversals
    // and sets the acceleration of the starting direction's schedule.
    ParabolicSar(SarSchedule long_s, SarSchedule short_s, double start, double reverse_offset, bool extended)
        : long_(long_s), short_(short_s), start_(start), offset_(reverse_offset), extended_(extended),
          af_(long_s.init) {}

    // Takes the high and low of a checked candle; yields the stop, or nothing on the
    // first candle.
    std::optional<double> step(double h, double l) {
        if (!first_seen_) {
            ph1_ = h;
            pl1_ = l;
            first_seen_ = true;
            return std::nullopt;
        }
        if (!started_) {
            if (start_ == 0.0) {
                double up = h - ph1_;
                double down = pl1_ - l;
                short_trend_ = down > 0.0 && down > up;
                sar_ = short_trend_ ? ph1_ : pl1_;
            } else if (start_ > 0.0) {
                short_trend_ = false;
                sar_ = start_;
            } else {
                short_trend_ = true;
                sar_ = std::fabs(start_);
            }
            ep_ = short_trend_ ? l : h;
            if (extended_) af_ = short_trend_ ? short_.init : long_.init;
            // The start is tested against the same candle, which stands in for the
            // previous one.
            if (!short_trend_ && l <= sar_) {
                reverse_to_short(h, l, h);
            } else if (short_trend_ && h >= sar_) {
                reverse_to_long(h, l, l);
            }
            ph1_ = ph2_ = h;
            pl1_ = pl2_ = l;
            started_ = true;
            return sar_;
        }

        double next = sar_ + af_ * (ep_ - sar_);
        if (!short_trend_) {
            if (pl1_ < next) next = pl1_;
            if (pl2_ < next) next = pl2_;
            if (l <= next) {
                reverse_to_short(h, l, ph1_);
            } else {
                if (h > ep_) {
                    ep_ = h;
                    af_ = capped(af_ + long_.step, long_.max);
                }
                sar_ = next;
            }
        } else {
            if (ph1_ > next) next = ph1_;
            if (ph2_ > next) next = ph2_;
            if (h >= next) {
                reverse_to_long(h, l, pl1_);
            } else {
                if (l < ep_) {
                    ep_ = l;
                    af_ = capped(af_ + short_.step, short_.max);
                }
                sar_ = next;
            }
        }
        ph2_ = ph1_;
        pl2_ = pl1_;
        ph1_ = h;
        pl1_ = l;
        return sar_;
    }

    bool is_short() const { return short_trend_; }

private:
    static double capped(double v, double max) { return v < max ? v : max; }

    // The new stop is the most extreme of the old extreme point, the previous high
    // (low) and the current one.
    void reverse_to_short(double h, double l, double prev_high) {
        double s = ep_;
        if (prev_high > s) s = prev_high;
        if (h > s) s = h;
        if (extended_) s = s + std::fabs(s) * offset_;
        sar_ = s;
        ep_ = l;
        af_ = short_.init;
        short_trend_ = true;
    }
    void reverse_to_long(double h, double l, double prev_low) {
        double s = ep_;
        if (prev_low < s) s = prev_low;
        if (l < s) s = l;
        if (extended_) s = s - std::fabs(s) * offset_;
        sar_ = s;
        ep_ = h;
        af_ = long_.init;
        short_trend_ = false;
    }

    SarSchedule long_;
    SarSchedule short_;
    double start_;
    double offset_;
    bool extended_;
    double ph1_ = std::numeric_limits<double>::quiet_NaN();
    double pl1_ = std::numeric_limits<double>::quiet_NaN();
    double ph2_ = std::numeric_limits<double>::quiet_NaN();
    double pl2_ = std::numeric_limits<double>::quiet_NaN();
    double sar_ = std::numeric_limits<double>::quiet_NaN();
    double ep_ = std::numeric_limits<double>::quiet_NaN();
    double af_;
    bool first_seen_ = false;
    bool started_ = false;
    bool short_trend_ = false;
};

}  // namespace ostrel::core
