#include <cstdint>
#include <limits>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/min_max.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Mean high-low range of the last `period` completed calendar days, the day read in
// a local time `utc_offset_minutes` from UTC. The day in progress never counts.
class AverageDailyRange final : public Indicator {
public:
    static Expected<AverageDailyRange, IndicatorError> make(std::size_t period, std::int32_t utc_offset_minutes) {
        if (auto e = check_period(period)) return *e;
        return AverageDailyRange(period, utc_offset_minutes);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        // Equal day numbers are equal calendar dates, so the number stands for the date.
        const std::int64_t seconds = floor_div(c->time, 1000);
        const std::int64_t local = seconds + static_cast<std::int64_t>(utc_offset_minutes_) * 60;
        const std::int64_t day = floor_div(local, 86400);
        if (!has_day_) {
            start_day(day, *c);
        } else if (day == day_) {
            if (c->high > day_high_) day_high_ = c->high;
            if (c->low < day_low_) day_low_ = c->low;
        } else {
            double range = day_high_ - day_low_;
            run_.push(range);
            if (ranges_.full()) {
                double oldest = ranges_.oldest();
                ranges_.push(range);
                sum_ = (range + sum_) - oldest;
            } else {
                ranges_.push(range);
                sum_ = range + sum_;
            }
            start_day(day, *c);
        }
        if (ranges_.empty()) return std::nullopt;
        // Days without range average to exactly 0; the running sum keeps the residue
        // of the ranges that have left (of either sign), and a sum of ranges read
        // below 0 is such a residue: 0.
        if (run_.covers(ranges_.size())) return 0.0;
        return core::not_below_zero(sum_) / static_cast<double>(ranges_.size());
    }
    std::size_t warmup_period() const override { return ranges_.capacity(); }

private:
    AverageDailyRange(std::size_t period, std::int32_t utc_offset_minutes)
        : ranges_(period), utc_offset_minutes_(utc_offset_minutes) {}

    static std::int64_t floor_div(std::int64_t a, std::int64_t b) {
        std::int64_t q = a / b;
        if (a % b != 0 && (a < 0) != (b < 0)) --q;
        return q;
    }

    void start_day(std::int64_t day, const Candle& c) {
        day_ = day;
        has_day_ = true;
        day_high_ = c.high;
        day_low_ = c.low;
    }

    core::Ring<double> ranges_;
    core::ZeroRun run_;  // the trailing run of days without range
    std::int32_t utc_offset_minutes_;
    bool has_day_ = false;
    std::int64_t day_ = 0;
    double day_high_ = -std::numeric_limits<double>::infinity();
    double day_low_ = std::numeric_limits<double>::infinity();
    double sum_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AverageDailyRange(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "AverageDailyRange"));
    OSTREL_TRY(offset, param_i32(p, 1, "AverageDailyRange"));
    return box_kind<kinds::AverageDailyRange>("AverageDailyRange", kinds::AverageDailyRange::make(period, offset));
}

}  // namespace ostrel::catalogue
