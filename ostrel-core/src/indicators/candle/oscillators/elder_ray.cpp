#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ema.hpp"

namespace ostrel::kinds {

// Bull power (high - average) and bear power (low - average) against an exponential
// average of the close.
class ElderRay final : public Indicator {
public:
    explicit ElderRay(core::Ema ema) : outputs_({"bull_power", "bear_power"}), ema_(std::move(ema)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto ema = ema_.step(c->close);
        if (!ema) return std::nullopt;
        double bull = c->high - *ema;
        double bear = c->low - *ema;
        outputs_.store({bull, bear});
        return bull;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return ema_.period(); }

private:
    OutputSlots<2> outputs_;
    core::Ema ema_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ElderRay(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "ElderRay"));
    return box_kind<kinds::ElderRay>("ElderRay", core::Ema::make(period));
}

}  // namespace ostrel::catalogue
