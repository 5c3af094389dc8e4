#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/lag_window.hpp"

namespace ostrel::kinds {

// DeMark lines: a down run of closes below the close `lookback` bars back that
// reaches `length` bars sets the resistance at the run's highest high (moved on each
// further bar of the run); an up run sets the support at its lowest low. A line stays
// until a later completed run replaces it.
class TdLines final : public Indicator {
public:
    static Expected<TdLines, IndicatorError> make(std::size_t lookback, std::size_t length) {
        if (lookback == 0 || length == 0) return IndicatorError::zero_period();
        // The close window holds lookback + 1 values: bounded like every window.
        OSTREL_TRY(closes, core::LagWindow::make(lookback));
        return TdLines(std::move(closes), length);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* k = core::checked_candle(f);
        if (!k) return std::nullopt;
        auto p = closes_.push(k->close);
        if (!p) return std::nullopt;
        const double c = k->close;
        if (c < *p) {
            run_high_ = down_count_ == 0 ? k->high : std::max(run_high_, k->high);
            run_low_ = kInf;
            down_count_ = down_count_ < length_ ? down_count_ + 1 : length_;
            up_count_ = 0;
            if (down_count_ == length_) resistance_ = run_high_;
        } else if (c > *p) {
            run_low_ = up_count_ == 0 ? k->low : std::min(run_low_, k->low);
            run_high_ = -kInf;
            up_count_ = up_count_ < length_ ? up_count_ + 1 : length_;
            down_count_ = 0;
            if (up_count_ == length_) support_ = run_low_;
        } else {
            down_count_ = 0;
            up_count_ = 0;
            run_high_ = -kInf;
            run_low_ = kInf;
        }
        if (!resistance_ && !support_) return std::nullopt;
        const double r = resistance_ ? *resistance_ : kNaN;
        outputs_.store({r, support_ ? *support_ : kNaN});
        return r;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return closes_.period() + 1; }

private:
    static constexpr double kInf = std::numeric_limits<double>::infinity();
    static constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

    TdLines(core::LagWindow closes, std::size_t length)
        : closes_(std::move(closes)), length_(length), outputs_({"resistance", "support"}) {}

    core::LagWindow closes_;
    std::size_t length_;
    std::optional<double> resistance_;
    std::optional<double> support_;
    std::size_t down_count_ = 0;
    std::size_t up_count_ = 0;
    double run_high_ = -kInf;  // highest high of the current down run
    double run_low_ = kInf;    // lowest low of the current up run
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TdLines(std::span<const double> p) {
    OSTREL_TRY(lookback, param_usize(p, 0, "TdLines"));
    OSTREL_TRY(length, param_usize(p, 1, "TdLines"));
    return box_kind<kinds::TdLines>("TdLines", kinds::TdLines::make(lookback, length));
}

}  // namespace ostrel::catalogue
