#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/swing_tracker.hpp"

namespace ostrel::kinds {

// Swing pivots by a reversal fraction, given on the bar that confirms each one:
// "swing" the pivot's price, "direction" +1 for a swing high, -1 for a swing low.
class ZigZag final : public Indicator {
public:
    static Expected<ZigZag, IndicatorError> make(double threshold) {
        if (!(threshold > 0.0 && threshold < 1.0))
            return IndicatorError::invalid_period("ZigZag threshold must be a finite fraction in (0, 1)");
        return ZigZag(threshold);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        // The rule's bar ordinal is not reported, so every bar passes 0.
        auto pivot = rule_.step(c->high, c->low, 0);
        if (!pivot) return std::nullopt;
        outputs_.store({pivot->price, pivot->direction});
        return pivot->price;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return 2; }

private:
    explicit ZigZag(double threshold) : rule_(threshold), outputs_({"swing", "direction"}) {}
    core::SwingRule rule_;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ZigZag(std::span<const double> p) {
    OSTREL_TRY(threshold, param_f64(p, 0, "ZigZag"));
    return box_kind<kinds::ZigZag>("ZigZag", kinds::ZigZag::make(threshold));
}

}  // namespace ostrel::catalogue
