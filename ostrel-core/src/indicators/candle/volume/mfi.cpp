#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/rolling_sums.hpp"

namespace ostrel::kinds {

// Money-flow index: the share of positive money flow (typical price times volume
// on bars whose typical price rose) in the total flow of the last `period` bars,
// as 100 - 100 / (1 + positive / negative). Both sums are recomputed exactly from
// their windows every `period` pushes. A window without any flow (unchanged typical
// prices or no volume) gives 50, also between two re-sums.
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
        // One side at most is not 0, so the sum is 0 exactly on a bar without flow.
        flows_.push(up + down);
        prev_tp_ = tp;
        if (!positive_.window.full()) return std::nullopt;
        if (flows_.zeros_cover(positive_.period)) return 50.0;
        const double p = positive_.sum;
        const double n = negative_.sum;
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
    core::EqualRun flows_;  // the bars' flows, up or down; 0 without flow
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Mfi(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Mfi"));
    return box_kind<kinds::Mfi>("Mfi", kinds::Mfi::make(period));
}

}  // namespace ostrel::catalogue
