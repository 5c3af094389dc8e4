#include <algorithm>
#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/money_flow_volume.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Chaikin money flow: money-flow volume over volume across the last `period`
// candles. The running sums are kept without periodic re-summing; a window whose
// money-flow volumes are all 0 (candles without range) gives 0, not the residue
// the money-flow sum keeps of the candles that left it.
class ChaikinMoneyFlow final : public Indicator {
public:
    static Expected<ChaikinMoneyFlow, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return ChaikinMoneyFlow(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const double mfv = core::money_flow_volume(*c);
        if (mfvs_.full()) {
            mfv_sum_ = mfv_sum_ - mfvs_.oldest();
            volume_sum_ = volume_sum_ - volumes_.oldest();
            mfvs_.pop_oldest();
            volumes_.pop_oldest();
        }
        mfvs_.push(mfv);
        flows_.push(mfv);
        volumes_.push(c->volume);
        mfv_sum_ = mfv_sum_ + mfv;
        volume_sum_ = volume_sum_ + c->volume;
        if (!mfvs_.full()) return std::nullopt;
        // A volume sum read at or below 0 is a residue of volumes that left: no volume.
        if (volume_sum_ <= 0.0) return 0.0;
        // Volumes are never negative: a quotient of -0 comes from a residue of the
        // volume sum, and the exact answer is +0.
        if (flows_.covers(period_)) return 0.0;
        // No bar's money-flow volume exceeds its volume in size, so the exact ratio
        // lies within -1..1; the residues the two sums keep (never re-summed) could take
        // the quotient outside: the flow is read no larger than the volume.
        return std::clamp(mfv_sum_, -volume_sum_, volume_sum_) / volume_sum_;
    }
    std::size_t warmup_period() const override { return period_; }

private:
    explicit ChaikinMoneyFlow(std::size_t period) : mfvs_(period), volumes_(period), period_(period) {}

    core::Ring<double> mfvs_;
    core::Ring<double> volumes_;
    double mfv_sum_ = 0.0;
    double volume_sum_ = 0.0;
    std::size_t period_;
    core::ZeroRun flows_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ChaikinMoneyFlow(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "ChaikinMoneyFlow"));
    return box_kind<kinds::ChaikinMoneyFlow>("ChaikinMoneyFlow", kinds::ChaikinMoneyFlow::make(period));
}

}  // namespace ostrel::catalogue
