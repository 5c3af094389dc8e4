#include <array>
#include <cmath>
#include <cstdint>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/session_calendar.hpp"
#include "indicators/core/session_measures.hpp"

namespace ostrel::kinds {

// Z-score of the current one-bar return against the earlier returns of the same
// local hour of the day (sample variance, kept by Welford's update), taken before
// the return joins its hour's record.
class SeasonalZScore final : public Indicator {
public:
    explicit SeasonalZScore(std::int32_t utc_offset_minutes) : calendar_(utc_offset_minutes) {}

    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (!prev_close_) {
            prev_close_ = c->close;
            return std::nullopt;
        }
        HourStats& s = hours_[static_cast<std::size_t>(calendar_.locate(c->time).hour)];
        const double r = core::session_return(c->close, *prev_close_);
        std::optional<double> z;
        if (s.count >= 2) {
            const double variance = s.m2 / static_cast<double>(s.count - 1);
            z = variance > 0.0 ? (r - s.mean) / std::sqrt(variance) : 0.0;
        }
        ++s.count;
        const double delta = r - s.mean;
        s.mean = s.mean + delta / static_cast<double>(s.count);
        s.m2 = s.m2 + delta * (r - s.mean);
        prev_close_ = c->close;
        return z;
    }
    std::size_t warmup_period() const override { return 2; }

private:
    struct HourStats {
        std::uint64_t count = 0;
        double mean = 0.0;
        double m2 = 0.0;
    };

    core::SessionCalendar calendar_;
    std::optional<double> prev_close_;
    std::array<HourStats, 24> hours_{};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SeasonalZScore(std::span<const double> p) {
    OSTREL_TRY(utc_offset_minutes, param_i32(p, 0, "SeasonalZScore"));
    return box_kind(kinds::SeasonalZScore{utc_offset_minutes});
}

}  // namespace ostrel::catalogue
