#include <cstdint>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/min_max.hpp"
#include "indicators/core/rolling_sums.hpp"

namespace ostrel::kinds {

// Money-flow index: the share of positive money flow (typical price times volume
// on bars whose typical price rose) in the total flow of the last `period` bars,
// as 100 - 100 / (1 + positive / negative). Both sums are recomputed exactly from
// their windows every `period` pushes. A window without any flow (unchanged typical
// prices or no volume) gives 50, also between two re-sums. Between re-sums a sum
// keeps the residue of the flows that left: a side whose window holds only zero
// flows reads exactly 0, and while the window holds no negative flow (a negative
// typical price) no side reads below 0, so the index stays within 0..100.
class Mfi final : public Indicator {
public:
    static Expected<Mfi, IndicatorError> make(std::size_t period) {
        OSTREL_TRY(positive, core::RollingSums::make(period));
        OSTREL_TRY(negative, core::RollingSums::make(period));
        return Mfi(std::move(positive), std::move(negative));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const double tp = ((c->high + c->low) + c->close) / 3.0;
        if (!prev_tp_) {
            prev_tp_ = tp;
            return std::nullopt;
        }
        const double raw = tp * c->volume;
        const double up = tp > *prev_tp_ ? raw : 0.0;
        const double down = tp < *prev_tp_ ? raw : 0.0;
        positive_.push(up);
        negative_.push(down);
        ups_.push(up);
        downs_.push(down);
        if (up < 0.0 || down < 0.0)
            since_negative_ = 0;
        else if (since_negative_ < positive_.period)
            ++since_negative_;
        prev_tp_ = tp;
        if (!positive_.window.full()) return std::nullopt;
        const bool signed_flows = since_negative_ < positive_.period;
        double p = ups_.covers(positive_.period) ? 0.0 : positive_.sum;
        double n = downs_.covers(positive_.period) ? 0.0 : negative_.sum;
        if (!signed_flows) {
            p = core::not_below_zero(p);
            n = core::not_below_zero(n);
        }
        if (n == 0.0) return p == 0.0 ? 50.0 : 100.0;
        return 100.0 - 100.0 / (1.0 + p / n);
    }
    std::size_t warmup_period() const override { return positive_.period + 1; }

private:
    Mfi(core::RollingSums positive, core::RollingSums negative)
        : positive_(std::move(positive)), negative_(std::move(negative)) {}

    std::optional<double> prev_tp_;
    core::RollingSums positive_;
    core::RollingSums negative_;
    core::ZeroRun ups_;     // the flows of rising typical prices
    core::ZeroRun downs_;   // the flows of falling typical prices
    std::size_t since_negative_ = SIZE_MAX;  // bars since a flow below 0, up to period
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Mfi(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Mfi"));
    return box_kind<kinds::Mfi>("Mfi", kinds::Mfi::make(period));
}

}  // namespace ostrel::catalogue
