#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Volume-weighted support and resistance: the volume-weighted means of the lows
// and of the highs of the last `period` candles, or their plain means when the
// window holds no volume: its volumes all 0 (whatever residue the volume sum keeps
// of the volumes that left), or a volume sum read at or below 0. The five running
// sums are recomputed exactly from the window (oldest first, from 0) every `period`
// pushes.
class VolumeWeightedSr final : public Indicator {
public:
    static Expected<VolumeWeightedSr, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return VolumeWeightedSr(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (window_.full()) {
            const Entry& o = window_.oldest();
            sums_.high_volume = sums_.high_volume - o.high * o.volume;
            sums_.low_volume = sums_.low_volume - o.low * o.volume;
            sums_.volume = sums_.volume - o.volume;
            sums_.high = sums_.high - o.high;
            sums_.low = sums_.low - o.low;
            window_.pop_oldest();
        }
        window_.push({c->high, c->low, c->volume});
        volumes_.push(c->volume);
        sums_.high_volume = sums_.high_volume + c->high * c->volume;
        sums_.low_volume = sums_.low_volume + c->low * c->volume;
        sums_.volume = sums_.volume + c->volume;
        sums_.high = sums_.high + c->high;
        sums_.low = sums_.low + c->low;
        // The five sums are always added together, so one counter serves them all.
        if (++additions_since_resum_ == period_) {
            Sums s;
            window_.for_each([&](const Entry& e) {
                s.high_volume = s.high_volume + e.high * e.volume;
                s.low_volume = s.low_volume + e.low * e.volume;
                s.volume = s.volume + e.volume;
                s.high = s.high + e.high;
                s.low = s.low + e.low;
            });
            sums_ = s;
            additions_since_resum_ = 0;
        }
        if (!window_.full()) return std::nullopt;
        double support;
        double resistance;
        const bool no_volume = volumes_.covers(period_);
        if (sums_.volume > 0.0 && !no_volume) {
            support = sums_.low_volume / sums_.volume;
            resistance = sums_.high_volume / sums_.volume;
        } else {
            const double n = static_cast<double>(period_);
            support = sums_.low / n;
            resistance = sums_.high / n;
        }
        outputs_.store({support, resistance});
        return support;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return period_; }

private:
    struct Entry {
        double high = 0.0;
        double low = 0.0;
        double volume = 0.0;
    };
    struct Sums {
        double high_volume = 0.0;
        double low_volume = 0.0;
        double volume = 0.0;
        double high = 0.0;
        double low = 0.0;
    };

    explicit VolumeWeightedSr(std::size_t period)
        : window_(period), period_(period), outputs_({"support", "resistance"}) {}

    core::Ring<Entry> window_;
    Sums sums_;
    std::size_t additions_since_resum_ = 0;
    core::ZeroRun volumes_;  // watches the volumes only
    std::size_t period_;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_VolumeWeightedSr(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "VolumeWeightedSr"));
    return box_kind<kinds::VolumeWeightedSr>("VolumeWeightedSr", kinds::VolumeWeightedSr::make(period));
}

}  // namespace ostrel::catalogue
