#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/min_max.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// DeMark pressure: the mean of volume times the close-to-open move as a fraction of
// the range, in percent of the mean volume, over `period` bars. Sums are taken
// afresh from the windows, oldest first.
class TdPressure final : public Indicator {
public:
    static Expected<TdPressure, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return TdPressure(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const double range = c->high - c->low;
        const double term = range > 0.0 ? c->volume * ((c->close - c->open) / range) : 0.0;
        terms_.push(term);
        volumes_.push(c->volume);
        if (!terms_.full()) return std::nullopt;
        const double n = static_cast<double>(period_);
        const double mean_volume = sum(volumes_) / n;
        if (mean_volume == 0.0) return 0.0;
        // No body exceeds its range, so no term exceeds its volume in size and the
        // exact ratio lies within -100..100; rounding can take it just past.
        const double result = core::within(((sum(terms_) / n) * 100.0) / mean_volume, -100.0, 100.0);
        return result;
    }
    std::size_t warmup_period() const override { return period_; }

private:
    explicit TdPressure(std::size_t period) : terms_(period), volumes_(period), period_(period) {}

    static double sum(const core::Ring<double>& r) {
        double s = 0.0;
        r.for_each([&s](double x) { s = s + x; });
        return s;
    }

    core::Ring<double> terms_;
    core::Ring<double> volumes_;
    std::size_t period_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TdPressure(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "TdPressure"));
    return box_kind<kinds::TdPressure>("TdPressure", kinds::TdPressure::make(period));
}

}  // namespace ostrel::catalogue
