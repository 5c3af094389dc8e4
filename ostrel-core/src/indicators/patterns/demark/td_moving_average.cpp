#include <utility>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::kinds {

// DeMark moving averages: simple averages of the bar midpoint over a short and a
// long window, published together once the long one is full.
class TdMovingAverage final : public Indicator {
public:
    static Expected<TdMovingAverage, IndicatorError> make(std::size_t st1_period, std::size_t st2_period) {
        if (st1_period == 0 || st2_period == 0) return IndicatorError::zero_period();
        if (st1_period >= st2_period)
            return IndicatorError::invalid_period("TD moving average ST1 period must be strictly less than ST2");
        OSTREL_TRY(st1, core::Sma::make(st1_period));
        OSTREL_TRY(st2, core::Sma::make(st2_period));
        return TdMovingAverage(std::move(st1), std::move(st2));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const double m = midpoint(c->high, c->low);
        auto a = st1_.step(m);
        auto b = st2_.step(m);
        if (!a || !b) return std::nullopt;
        outputs_.store({*a, *b});
        return *a;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return st2_.period(); }

private:
    TdMovingAverage(core::Sma st1, core::Sma st2)
        : st1_(std::move(st1)), st2_(std::move(st2)), outputs_({"st1", "st2"}) {}

    core::Sma st1_;
    core::Sma st2_;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TdMovingAverage(std::span<const double> p) {
    OSTREL_TRY(st1_period, param_usize(p, 0, "TdMovingAverage"));
    OSTREL_TRY(st2_period, param_usize(p, 1, "TdMovingAverage"));
    return box_kind<kinds::TdMovingAverage>("TdMovingAverage", kinds::TdMovingAverage::make(st1_period, st2_period));
}

}  // namespace ostrel::catalogue
