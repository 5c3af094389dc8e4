#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Nick Rypock trailing reverse: a line `percentage` % behind the extreme close of
// the current trend; a close beyond the line reverses the trend.
class Nrtr final : public Indicator {
public:
    static Expected<Nrtr, IndicatorError> make(double percentage) {
        if (!std::isfinite(percentage) || !(percentage > 0.0) || !(percentage < 100.0))
            return IndicatorError::invalid_parameter("NRTR percentage must be in (0, 100)");
        return Nrtr(percentage);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const double close = c->close;
        const double p = percentage_ / 100.0;
        double value;
        if (trend_ == 0.0) {
            trend_ = 1.0;
            extreme_ = close;
            value = (1.0 - p) * close;
        } else if (trend_ > 0.0) {
            if (close > extreme_) extreme_ = close;
            value = (1.0 - p) * extreme_;
            if (close < value) {
                trend_ = -1.0;
                extreme_ = close;
                value = (1.0 + p) * close;
            }
        } else {
            if (close < extreme_) extreme_ = close;
            value = (1.0 + p) * extreme_;
            if (close > value) {
                trend_ = 1.0;
                extreme_ = close;
                value = (1.0 - p) * close;
            }
        }
        outputs_.store({value, trend_});
        return value;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return 1; }

private:
    explicit Nrtr(double percentage) : percentage_(percentage), outputs_({"value", "direction"}) {}

    double percentage_;  // in percent: 2.5 means 2.5 %
    double trend_ = 0.0;
    double extreme_ = 0.0;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Nrtr(std::span<const double> p) {
    OSTREL_TRY(percentage, param_f64(p, 0, "Nrtr"));
    return box_kind<kinds::Nrtr>("Nrtr", kinds::Nrtr::make(percentage));
}

}  // namespace ostrel::catalogue
