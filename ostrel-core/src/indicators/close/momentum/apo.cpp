#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ema.hpp"

namespace ostrel::kinds {

// Absolute price oscillator: fast exponential average minus slow one.
class Apo final : public Indicator {
public:
    static Expected<Apo, IndicatorError> make(std::size_t fast_period, std::size_t slow_period) {
        if (fast_period == 0 || slow_period == 0) return IndicatorError::zero_period();
        if (fast_period >= slow_period)
            return IndicatorError::invalid_period("APO fast period must be strictly less than slow");
        if (fast_period > MAX_PERIOD || slow_period > MAX_PERIOD) return IndicatorError::too_long();
        return Apo(*core::Ema::make(fast_period), *core::Ema::make(slow_period));
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        const auto fast = fast_.step(close);
        const auto slow = slow_.step(close);
        if (!slow || !fast) return std::nullopt;
        return *fast - *slow;
    }
    std::size_t warmup_period() const override { return slow_.period(); }

private:
    Apo(core::Ema fast, core::Ema slow) : fast_(std::move(fast)), slow_(std::move(slow)) {}
    core::Ema fast_;
    core::Ema slow_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Apo(std::span<const double> p) {
    OSTREL_TRY(fast_period, param_usize(p, 0, "Apo"));
    OSTREL_TRY(slow_period, param_usize(p, 1, "Apo"));
    return box_kind<kinds::Apo>("Apo", kinds::Apo::make(fast_period, slow_period));
}

}  // namespace ostrel::catalogue
