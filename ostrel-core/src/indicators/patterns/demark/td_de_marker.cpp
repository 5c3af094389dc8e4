#include <optional>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// DeMarker oscillator: the mean upward extension of the highs over the sum of the
// mean upward and mean downward extensions, over `period` bars; 0.5 when neither
// moved. Both sums are taken afresh from the windows, oldest first.
class TdDeMarker final : public Indicator {
public:
    static Expected<TdDeMarker, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return TdDeMarker(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (!prev_) {
            prev_ = *c;
            return std::nullopt;
        }
        const double up = c->high - prev_->high;
        const double down = prev_->low - c->low;
        prev_ = *c;
        de_max_.push(up > 0.0 ? up : 0.0);
        de_min_.push(down > 0.0 ? down : 0.0);
        if (!de_max_.full()) return std::nullopt;
        const double n = static_cast<double>(period_);
        const double a = sum(de_max_) / n;
        const double b = sum(de_min_) / n;
        const double total = a + b;
        if (total == 0.0) return 0.5;
        return a / total;
    }
    std::size_t warmup_period() const override { return period_ + 1; }

private:
    explicit TdDeMarker(std::size_t period) : de_max_(period), de_min_(period), period_(period) {}

    static double sum(const core::Ring<double>& r) {
        double s = 0.0;
        r.for_each([&s](double x) { s = s + x; });
        return s;
    }

    std::optional<Candle> prev_;
    core::Ring<double> de_max_;
    core::Ring<double> de_min_;
    std::size_t period_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TdDeMarker(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "TdDeMarker"));
    return box_kind<kinds::TdDeMarker>("TdDeMarker", kinds::TdDeMarker::make(period));
}

}  // namespace ostrel::catalogue
