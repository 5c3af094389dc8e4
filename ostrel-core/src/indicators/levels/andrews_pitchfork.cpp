#include <array>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/fractal_window.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::kinds {

// The pitchfork of the last three alternating fractal pivots A, B, C: the median
// line from A through the midpoint of B and C, and two parallel tines through B
// and C, all projected to the current bar.
class AndrewsPitchfork final : public Indicator {
public:
    static Expected<AndrewsPitchfork, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return AndrewsPitchfork(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        ++bar_count_;
        window_.push(c->high, c->low);
        if (window_.full()) consider_candidate();
        if (count_ != 3) return std::nullopt;
        const Pivot& a = pivots_[0];
        const Pivot& b = pivots_[1];
        const Pivot& cc = pivots_[2];
        const double t = static_cast<double>(bar_count_ - 1);
        const double m_index = midpoint(b.index, cc.index);
        const double m_price = midpoint(b.price, cc.price);
        const double slope = (m_price - a.price) / (m_index - a.index);
        const double median = a.price + (t - a.index) * slope;
        const double off_b = b.price - (a.price + (b.index - a.index) * slope);
        const double off_c = cc.price - (a.price + (cc.index - a.index) * slope);
        const double upper = median + core::max_ignoring_nan(off_b, off_c);
        const double lower = median + core::min_ignoring_nan(off_b, off_c);
        outputs_.store({median, upper, lower});
        return median;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return window_.length(); }

private:
    struct Pivot {
        double index = 0.0;  // ordinal of the pivot's bar among valid candles
        double price = 0.0;
        bool is_high = false;
    };

    explicit AndrewsPitchfork(std::size_t period)
        : period_(period), window_(2 * period + 1), outputs_({"median", "upper", "lower"}) {}

    // Tests the window's middle candle; a pivot of the same side as the newest one
    // replaces it only when more extreme, otherwise a pivot is appended.
    void consider_candidate() {
        const auto v = window_.test(period_);
        if (v.pivot_high == v.pivot_low) return;  // none, or an outside candle: ignored
        const double index = static_cast<double>(bar_count_ - period_ - 1);
        const bool high = v.pivot_high;
        const double price = high ? window_.at(period_).high : window_.at(period_).low;
        if (count_ > 0 && pivots_[count_ - 1].is_high == high) {
            Pivot& last = pivots_[count_ - 1];
            if (high ? price > last.price : price < last.price) last = {index, price, high};
            return;
        }
        if (count_ == 3) {
            pivots_[0] = pivots_[1];
            pivots_[1] = pivots_[2];
            --count_;
        }
        pivots_[count_++] = {index, price, high};
    }

    std::size_t period_;
    core::FractalWindow window_;
    std::array<Pivot, 3> pivots_{};  // oldest first
    std::size_t count_ = 0;
    std::size_t bar_count_ = 0;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AndrewsPitchfork(std::span<const double> p) {
    OSTREL_TRY(pivot_bars, param_usize(p, 0, "AndrewsPitchfork"));
    return box_kind<kinds::AndrewsPitchfork>("AndrewsPitchfork", kinds::AndrewsPitchfork::make(pivot_bars));
}

}  // namespace ostrel::catalogue
