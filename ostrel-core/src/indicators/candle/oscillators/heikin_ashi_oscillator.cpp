#include <cmath>
#include <utility>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ema.hpp"

namespace ostrel::kinds {

// Exponential average of the Heikin-Ashi body (its close minus its open).
class HeikinAshiOscillator final : public Indicator {
public:
    explicit HeikinAshiOscillator(core::Ema ema) : ema_(std::move(ema)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        double ha_open = prev_ ? midpoint(prev_->first, prev_->second) : midpoint(c->open, c->close);
        double ha_close = (((c->open + c->high) + c->low) + c->close) * 0.25;
        prev_ = std::pair<double, double>{ha_open, ha_close};
        double body = ha_close - ha_open;
        if (!std::isfinite(body)) return std::nullopt;
        return ema_.step(body);
    }
    std::size_t warmup_period() const override { return ema_.period(); }

private:
    std::optional<std::pair<double, double>> prev_;  // Heikin-Ashi (open, close)
    core::Ema ema_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HeikinAshiOscillator(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "HeikinAshiOscillator"));
    return box_kind<kinds::HeikinAshiOscillator>("HeikinAshiOscillator", core::Ema::make(period));
}

}  // namespace ostrel::catalogue
