#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/money_flow_volume.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Chaikin money flow: money-flow volume over volume across the last `period`
// candles. The running sums are kept without periodic re-summing.
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
        volumes_.push(c->volume);
        mfv_sum_ = mfv_sum_ + mfv;
        volume_sum_ = volume_sum_ + c->volume;
        if (!mfvs_.full()) return std::nullopt;
        // A volume sum read below 0 is a residue of volumes that left: no volume.
        if (volume_sum_ <= 0.0) return 0.0;
        return mfv_sum_ / volume_sum_;
    }
    std::size_t warmup_period() const override { return period_; }

private:
    explicit ChaikinMoneyFlow(std::size_t period) : mfvs_(period), volumes_(period), period_(period) {}

    core::Ring<double> mfvs_;
    core::Ring<double> volumes_;
    double mfv_sum_ = 0.0;
    double volume_sum_ = 0.0;
    std::size_t period_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ChaikinMoneyFlow(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "ChaikinMoneyFlow"));
    return box_kind<kinds::ChaikinMoneyFlow>("ChaikinMoneyFlow", kinds::ChaikinMoneyFlow::make(period));
}

}  // namespace ostrel::catalogue
