#include <cmath>
#include <cstdint>

#include "catalogue/params.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/rolling_sums.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::kinds {

// Root mean square of the last `period` percent drawdowns, each measured from the
// largest of the last `period` levels (kept by a monotonic maximum window).
class UlcerIndex final : public Indicator {
public:
    static Expected<UlcerIndex, IndicatorError> make(std::size_t period) {
        OSTREL_TRY(squares, core::RollingSums::make(period));
        return UlcerIndex(period, std::move(squares));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        ++t_;
        while (!max_.empty() && !(max_.newest().value > x)) max_.pop_newest();
        max_.push({t_, x});
        const std::uint64_t floor = t_ >= period_ - 1 ? t_ - (period_ - 1) : 0;
        while (max_.oldest().t < floor) max_.pop_oldest();
        if (t_ < period_) return std::nullopt;
        const double m = max_.oldest().value;
        const double u = m == 0.0 ? 0.0 : (x - m) * 100.0 / m;
        squares_.push(u * u);
        zeros_.push(u * u);
        if (!squares_.window.full()) return std::nullopt;
        // Drawdowns that are all 0 give 0, not the residue of the squares that left;
        // a sum of squares read below 0 (a residue) is 0.
        if (zeros_.covers(period_)) return 0.0;
        const double sum = core::not_below_zero(squares_.sum);
        return std::sqrt(sum / static_cast<double>(period_));
    }
    std::size_t warmup_period() const override { return 2 * period_ - 1; }

private:
    struct Entry {
        std::uint64_t t;
        double value;
    };

    UlcerIndex(std::size_t period, core::RollingSums squares)
        : max_(period + 1), period_(period), squares_(std::move(squares)) {}

    std::uint64_t t_ = 0;
    core::Ring<Entry> max_;  // monotonic deque: at most period + 1 entries at once
    std::size_t period_;
    core::RollingSums squares_;
    core::ZeroRun zeros_;  // of the squares pushed
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_UlcerIndex(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "UlcerIndex"));
    return box_kind<kinds::UlcerIndex>("UlcerIndex", kinds::UlcerIndex::make(period));
}

}  // namespace ostrel::catalogue
