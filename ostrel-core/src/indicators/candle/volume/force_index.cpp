#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ema.hpp"

namespace ostrel::kinds {

// Force index: exponential average of volume times the change of the close.
class ForceIndex final : public Indicator {
public:
    explicit ForceIndex(core::Ema ema) : ema_(ema) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (!prev_close_) {
            prev_close_ = c->close;
            return std::nullopt;
        }
        const double force = c->volume * (c->close - *prev_close_);
        prev_close_ = c->close;
        if (!std::isfinite(force)) return std::nullopt;
        return ema_.step(force);
    }
    std::size_t warmup_period() const override { return ema_.period() + 1; }

private:
    std::optional<double> prev_close_;
    core::Ema ema_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ForceIndex(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "ForceIndex"));
    return box_kind<kinds::ForceIndex>("ForceIndex", core::Ema::make(period));
}

}  // namespace ostrel::catalogue
