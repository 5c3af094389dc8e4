#include <array>
#include <cstdint>
#include <limits>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/session_calendar.hpp"

namespace ostrel::kinds {

// Range of each third of the local day (hours 0-7 "asia", 8-15 "eu", 16-23 "us")
// within the current day; a third without candles reads 0.
class SessionRange final : public Indicator {
public:
    explicit SessionRange(std::int32_t utc_offset_minutes) : calendar_(utc_offset_minutes) { clear(); }

    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const auto at = calendar_.locate(c->time);
        if (session_.enter(at.date)) clear();
        Extremes& part = parts_[static_cast<std::size_t>(at.hour / 8)];
        if (c->high > part.high) part.high = c->high;
        if (c->low < part.low) part.low = c->low;
        const std::array<double, 3> values = {width(parts_[0]), width(parts_[1]), width(parts_[2])};
        outputs_.store(values);
        return values[0];
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return 1; }

private:
    struct Extremes {
        double high;
        double low;
    };

    void clear() {
        for (Extremes& e : parts_) e = {-std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
    }
    static double width(const Extremes& e) { return e.high >= e.low ? e.high - e.low : 0.0; }

    core::SessionCalendar calendar_;
    core::SessionDay session_;
    std::array<Extremes, 3> parts_{};
    OutputSlots<3> outputs_{{"asia", "eu", "us"}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SessionRange(std::span<const double> p) {
    OSTREL_TRY(utc_offset_minutes, param_i32(p, 0, "SessionRange"));
    return box_kind(kinds::SessionRange{utc_offset_minutes});
}

}  // namespace ostrel::catalogue
