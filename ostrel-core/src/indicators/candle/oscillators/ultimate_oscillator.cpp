#include <algorithm>
#include <utility>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/min_max.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Buying pressure over true range in three windows, weighted 4 : 2 : 1 in the order
// of the parameters, scaled to 0..100. A window without range counts half its
// weight. A window whose true ranges are all 0 has no range in exact arithmetic,
// whatever residue its running sums keep, and takes that half weight too.
//
// The sums are never re-summed, so after large bars have left they keep a residue
// that can outweigh the bars in the window. Both kinds of term are never negative and
// the buying pressure of a bar never exceeds its true range, so the sums are read
// not below 0, a window of zero buying pressure reads exactly 0, and each window's
// share is at most 1: the value stays within 0..100.
class UltimateOscillator final : public Indicator {
public:
    static Expected<UltimateOscillator, IndicatorError> make(std::size_t s, std::size_t m, std::size_t l) {
        if (s == 0 || m == 0 || l == 0) return IndicatorError::zero_period();
        std::size_t longest = s;
        if (m > longest) longest = m;
        if (l > longest) longest = l;
        // The ring holds longest + 1 pairs: a ring longer than any other window is
        // refused rather than risking an allocation that cannot succeed.
        if (longest >= MAX_PERIOD) return IndicatorError::too_long();
        return UltimateOscillator(s, m, l, longest);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (!prev_close_) {
            prev_close_ = c->close;
            return std::nullopt;
        }
        double p = *prev_close_;
        prev_close_ = c->close;
        double lo = c->low < p ? c->low : p;
        double hi = c->high > p ? c->high : p;
        double bp = c->close - lo;
        double tr = hi - lo;
        ring_.push({bp, tr});
        no_range_.push(tr);
        no_pressure_.push(bp);
        for (Window& w : windows_) {
            w.bp = w.bp + bp;
            w.tr = w.tr + tr;
        }
        for (Window& w : windows_) {
            if (ring_.size() > w.length) {
                const auto& gone = ring_.back(w.length);
                w.bp = w.bp - gone.first;
                w.tr = w.tr - gone.second;
            }
        }
        if (ring_.size() > longest_) ring_.pop_oldest();
        if (++pairs_ < longest_) return std::nullopt;
        double a_s = no_range(windows_[0]) ? 2.0 : share(windows_[0]) * 4.0;
        double a_m = no_range(windows_[1]) ? 1.0 : share(windows_[1]) * 2.0;
        double a_l = no_range(windows_[2]) ? 0.5 : share(windows_[2]);
        return ((a_s + a_m) + a_l) * 100.0 / 7.0;
    }
    std::size_t warmup_period() const override { return longest_ + 1; }

private:
    struct Window {
        std::size_t length;
        double bp = 0.0;
        double tr = 0.0;
    };

    // A range sum read at or below 0 is no range.
    bool no_range(const Window& w) const {
        return w.tr <= 0.0 || no_range_.covers(w.length);
    }

    // Buying pressure over true range of a window with range, within 0..1: no more
    // pressure than range is read, and none without any in the window.
    double share(const Window& w) const {
        const double bp = no_pressure_.covers(w.length) ? 0.0 : std::min(core::not_below_zero(w.bp), w.tr);
        return bp / w.tr;
    }

    UltimateOscillator(std::size_t s, std::size_t m, std::size_t l, std::size_t longest)
        : ring_(longest + 1), longest_(longest), windows_{Window{s}, Window{m}, Window{l}} {}

    std::optional<double> prev_close_;
    core::Ring<std::pair<double, double>> ring_;  // (buying pressure, true range)
    std::size_t longest_;
    Window windows_[3];  // short, medium, long
    std::size_t pairs_ = 0;
    core::ZeroRun no_range_;     // the true ranges, to tell a window without range
    core::ZeroRun no_pressure_;  // the buying pressures, to tell a window without any
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_UltimateOscillator(std::span<const double> p) {
    OSTREL_TRY(s, param_usize(p, 0, "UltimateOscillator"));
    OSTREL_TRY(m, param_usize(p, 1, "UltimateOscillator"));
    OSTREL_TRY(l, param_usize(p, 2, "UltimateOscillator"));
    return box_kind<kinds::UltimateOscillator>("UltimateOscillator", kinds::UltimateOscillator::make(s, m, l));
}

}  // namespace ostrel::catalogue
