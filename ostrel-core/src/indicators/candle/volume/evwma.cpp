#include <utility>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Elastic volume-weighted average: moves towards each close by the share of the
// window's volume traded on that bar; holds its value while the window has none,
// also when its volumes are all 0 but the volume sum keeps a residue of the volumes
// that left it (the sum itself is never recomputed).
class Evwma final : public Indicator {
public:
    static Expected<Evwma, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Evwma(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (ring_.full()) {
            volume_sum_ = volume_sum_ - ring_.oldest().second;
            ring_.pop_oldest();
        }
        ring_.push({c->close, c->volume});
        volumes_.push(c->volume);
        volume_sum_ = volume_sum_ + c->volume;
        if (!ring_.full()) return std::nullopt;
        // The window's sum of volumes is at least its newest volume; read below it
        // (a residue of huge volumes that have left), the previous average would get
        // a negative weight and the price would be extrapolated.
        const double v = volume_sum_ < c->volume ? c->volume : volume_sum_;
        const bool no_volume = volumes_.covers(period_);
        if (v > 0.0 && !no_volume) {
            double prev = prev_ ? *prev_ : c->close;
            const double result = (c->close * c->volume + (v - c->volume) * prev) / v;
            prev_ = result;
            return result;
        }
        if (!prev_) prev_ = c->close;
        return prev_;
    }
    std::size_t warmup_period() const override { return period_; }

private:
    explicit Evwma(std::size_t period) : ring_(period), period_(period) {}

    std::optional<double> prev_;
    core::Ring<std::pair<double, double>> ring_;  // (close, volume)
    std::size_t period_;
    double volume_sum_ = 0.0;
    core::ZeroRun volumes_;  // watches the volumes only
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Evwma(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Evwma"));
    return box_kind<kinds::Evwma>("Evwma", kinds::Evwma::make(period));
}

}  // namespace ostrel::catalogue
