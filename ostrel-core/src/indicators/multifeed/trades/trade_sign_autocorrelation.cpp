#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Lag-1 autocorrelation of the signs of the last `period` trades, without mean
// removal: the mean of s(i-1) x s(i) over consecutive pairs.
class TradeSignAutocorrelation final : public Indicator {
public:
    static Expected<TradeSignAutocorrelation, IndicatorError> make(std::size_t period) {
        if (auto e = core::check_min_period(period, 2, "trade-sign autocorrelation needs period >= 2")) return *e;
        return TradeSignAutocorrelation(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const bool any = core::for_each_trade(f, [&](const Trade& t) { signs_.push(core::trade_sign(t)); });
        // Only the last trade's result is returned, and it depends on the window
        // alone, so it is computed once per bar.
        if (!any || !signs_.full()) return std::nullopt;
        const std::size_t n = signs_.size();
        double sum = 0.0;
        for (std::size_t i = 1; i < n; ++i) sum = sum + signs_[i - 1] * signs_[i];
        const double out = sum / static_cast<double>(n - 1);
        last_ = out;
        return out;
    }
    std::size_t warmup_period() const override { return signs_.capacity(); }

private:
    explicit TradeSignAutocorrelation(std::size_t period) : signs_(period) {}

    core::Ring<double> signs_;
    std::optional<double> last_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TradeSignAutocorrelation(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "TradeSignAutocorrelation"));
    return box_kind<kinds::TradeSignAutocorrelation>("TradeSignAutocorrelation",
                                                     kinds::TradeSignAutocorrelation::make(period));
}

}  // namespace ostrel::catalogue
