#include <cstdint>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Fraction of a budget of `period` bars elapsed since the first accepted candle,
// capped at 1.
class TimeBasedStop final : public Indicator {
public:
    static Expected<TimeBasedStop, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return TimeBasedStop(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!core::checked_candle(f)) return std::nullopt;
        ++bars_;
        double v = static_cast<double>(bars_) / static_cast<double>(period_);
        if (v > 1.0) v = 1.0;
        last_ = v;
        return v;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    explicit TimeBasedStop(std::size_t period) : period_(period) {}

    std::optional<double> last_;
    std::size_t period_;
    std::uint64_t bars_ = 0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TimeBasedStop(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "TimeBasedStop"));
    return box_kind<kinds::TimeBasedStop>("TimeBasedStop", kinds::TimeBasedStop::make(period));
}

}  // namespace ostrel::catalogue
