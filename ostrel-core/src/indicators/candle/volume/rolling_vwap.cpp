#include <utility>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Rolling VWAP: volume-weighted typical price over the last `period` bars. Both
// running sums are recomputed exactly from the window (oldest first, from -0) every
// `period` pushes; a window without volume gives nothing, also when its volumes
// are all 0 but the volume sum keeps a residue of the volumes that left it.
class RollingVwap final : public Indicator {
public:
    static Expected<RollingVwap, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return RollingVwap(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const double pv = c->volume * (((c->high + c->low) + c->close) / 3.0);
        if (ring_.full()) {
            const auto [old_pv, old_v] = ring_.oldest();
            ring_.pop_oldest();
            pv_sum_ = pv_sum_ - old_pv;
            volume_sum_ = volume_sum_ - old_v;
        }
        ring_.push({pv, c->volume});
        volumes_.push(c->volume);
        pv_sum_ = pv_sum_ + pv;
        volume_sum_ = volume_sum_ + c->volume;
        if (++pushes_since_resum_ == period_) {
            double s_pv = -0.0;
            double s_v = -0.0;
            ring_.for_each([&](const std::pair<double, double>& e) {
                s_pv = s_pv + e.first;
                s_v = s_v + e.second;
            });
            pv_sum_ = s_pv;
            volume_sum_ = s_v;
            pushes_since_resum_ = 0;
        }
        // A volume sum read below 0 is a residue of volumes that left: no volume.
        if (!ring_.full() || volume_sum_ <= 0.0) return std::nullopt;
        if (volumes_.covers(period_)) return std::nullopt;
        return pv_sum_ / volume_sum_;
    }
    std::size_t warmup_period() const override { return period_; }

private:
    explicit RollingVwap(std::size_t period) : ring_(period), period_(period) {}

    core::Ring<std::pair<double, double>> ring_;  // (price x volume, volume)
    double pv_sum_ = 0.0;
    double volume_sum_ = 0.0;
    std::size_t pushes_since_resum_ = 0;  // the two sums are re-summed together
    core::ZeroRun volumes_;              // watches the volumes only
    std::size_t period_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RollingVwap(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "RollingVwap"));
    return box_kind<kinds::RollingVwap>("RollingVwap", kinds::RollingVwap::make(period));
}

}  // namespace ostrel::catalogue
