#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Realized spread: a trade is scored `period` trades later against the reference
// mid of that moment, 10000 x 2 x sign x (price - later mid) / mid at the trade.
class RealizedSpread final : public Indicator {
public:
    static Expected<RealizedSpread, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return RealizedSpread(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (f.trades.empty()) return std::nullopt;
        const auto mid = core::reference_mid(f);
        if (!mid) return std::nullopt;
        std::optional<double> result;
        core::for_each_trade(f, [&](const Trade& t) {
            pending_.push({core::trade_sign(t), t.price, *mid});
            result = std::nullopt;
            if (pending_.size() > period_) {
                const Entry o = pending_.oldest();
                pending_.pop_oldest();
                result = 10000.0 * 2.0 * o.sign * (o.price - *mid) / o.mid;
            }
        });
        return result;
    }
    std::size_t warmup_period() const override { return period_ + 1; }

private:
    struct Entry {
        double sign = 0.0;
        double price = 0.0;
        double mid = 0.0;
    };
    explicit RealizedSpread(std::size_t period) : pending_(period + 1), period_(period) {}

    core::Ring<Entry> pending_;
    std::size_t period_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RealizedSpread(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "RealizedSpread"));
    return box_kind<kinds::RealizedSpread>("RealizedSpread", kinds::RealizedSpread::make(period));
}

}  // namespace ostrel::catalogue
