#include <limits>
#include <optional>
#include <utility>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/lag_window.hpp"
#include "indicators/core/true_range.hpp"

namespace ostrel::kinds {

// DeMark risk levels: once a down run of closes (below the close `lookback` bars
// back) reaches `length` bars, the buy risk is the run's lowest low less that bar's
// true range; once an up run does, the sell risk is its highest high plus that bar's
// true range. On equal extremes the earlier bar stays.
class TdRiskLevel final : public Indicator {
public:
    static Expected<TdRiskLevel, IndicatorError> make(std::size_t lookback, std::size_t length) {
        if (lookback == 0 || length == 0) return IndicatorError::zero_period();
        // The close window holds lookback + 1 values: bounded like every window.
        OSTREL_TRY(closes, core::LagWindow::make(lookback));
        return TdRiskLevel(std::move(closes), length);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* k = core::checked_candle(f);
        if (!k) return std::nullopt;
        const double tr = core::true_range(k->high, k->low, prev_close_);
        prev_close_ = k->close;
        auto p = closes_.push(k->close);
        if (!p) return std::nullopt;
        const double c = k->close;
        if (c < *p) {
            if (!buy_extreme_ || buy_extreme_->price > k->low) buy_extreme_ = Extreme{k->low, tr};
            sell_extreme_.reset();
            buy_count_ = buy_count_ < length_ ? buy_count_ + 1 : length_;
            sell_count_ = 0;
            if (buy_count_ == length_) buy_risk_ = buy_extreme_->price - buy_extreme_->true_range;
        } else if (c > *p) {
            if (!sell_extreme_ || sell_extreme_->price < k->high) sell_extreme_ = Extreme{k->high, tr};
            buy_extreme_.reset();
            sell_count_ = sell_count_ < length_ ? sell_count_ + 1 : length_;
            buy_count_ = 0;
            if (sell_count_ == length_) sell_risk_ = sell_extreme_->price + sell_extreme_->true_range;
        } else {
            buy_extreme_.reset();
            sell_extreme_.reset();
            buy_count_ = 0;
            sell_count_ = 0;
        }
        if (!buy_risk_ && !sell_risk_) return std::nullopt;
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double b = buy_risk_ ? *buy_risk_ : nan;
        outputs_.store({b, sell_risk_ ? *sell_risk_ : nan});
        return b;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return closes_.period() + 1; }

private:
    // The extreme price of a run and the true range of the bar that made it.
    struct Extreme {
        double price;
        double true_range;
    };

    TdRiskLevel(core::LagWindow closes, std::size_t length)
        : closes_(std::move(closes)), length_(length), outputs_({"buy_risk", "sell_risk"}) {}

    core::LagWindow closes_;
    std::size_t length_;
    std::optional<double> prev_close_;  // close of the previous valid candle
    std::optional<Extreme> buy_extreme_;
    std::optional<Extreme> sell_extreme_;
    std::optional<double> buy_risk_;
    std::optional<double> sell_risk_;
    std::size_t buy_count_ = 0;
    std::size_t sell_count_ = 0;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TdRiskLevel(std::span<const double> p) {
    OSTREL_TRY(lookback, param_usize(p, 0, "TdRiskLevel"));
    OSTREL_TRY(length, param_usize(p, 1, "TdRiskLevel"));
    return box_kind<kinds::TdRiskLevel>("TdRiskLevel", kinds::TdRiskLevel::make(lookback, length));
}

}  // namespace ostrel::catalogue
