#include <cmath>
#include <cstdint>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ema.hpp"

namespace ostrel::kinds {

// Klinger volume oscillator: fast minus slow exponential average of the volume
// force, the volume signed by the trend of high + low + close and scaled by how the
// bar's range compares with the range accumulated over the current trend.
class Kvo final : public Indicator {
public:
    static Expected<Kvo, IndicatorError> make(std::size_t fast, std::size_t slow) {
        if (fast == 0 || slow == 0) return IndicatorError::zero_period();
        if (fast >= slow) return IndicatorError::invalid_period("KVO needs fast < slow");
        if (slow > MAX_PERIOD) return IndicatorError::too_long();
        return Kvo(*core::Ema::make(fast), *core::Ema::make(slow));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const double hlc = (c->high + c->low) + c->close;
        const double dm = c->high - c->low;
        if (!prev_dm_) {
            prev_dm_ = dm;
            prev_hlc_ = hlc;
            return std::nullopt;
        }
        std::int8_t trend = trend_;
        if (hlc > prev_hlc_) {
            trend = 1;
        } else if (hlc < prev_hlc_) {
            trend = -1;
        }
        cm_ = (trend_ != 0 && trend_ == trend) ? dm + cm_ : dm + *prev_dm_;
        trend_ = trend;
        double vf = 0.0;
        if (cm_ != 0.0) {
            const double t = dm / cm_ - 1.0;
            vf = ((c->volume * std::fabs(t + t)) * static_cast<double>(trend)) * 100.0;
        }
        prev_dm_ = dm;
        prev_hlc_ = hlc;
        if (!std::isfinite(vf)) return std::nullopt;
        auto fast = fast_.step(vf);
        auto slow = slow_.step(vf);
        if (!slow) return std::nullopt;
        return *fast - *slow;
    }
    std::size_t warmup_period() const override { return slow_.period() + 1; }

private:
    Kvo(core::Ema fast, core::Ema slow) : fast_(fast), slow_(slow) {}

    std::optional<double> prev_dm_;  // previous bar's high - low
    double prev_hlc_ = 0.0;          // previous bar's high + low + close
    double cm_ = 0.0;                // cumulative measurement
    std::int8_t trend_ = 0;          // 0 before the first move, then +1 or -1
    core::Ema fast_;
    core::Ema slow_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Kvo(std::span<const double> p) {
    OSTREL_TRY(fast, param_usize(p, 0, "Kvo"));
    OSTREL_TRY(slow, param_usize(p, 1, "Kvo"));
    return box_kind<kinds::Kvo>("Kvo", kinds::Kvo::make(fast, slow));
}

}  // namespace ostrel::catalogue
