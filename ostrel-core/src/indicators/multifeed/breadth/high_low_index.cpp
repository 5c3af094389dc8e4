#include "catalogue/params.hpp"
#include "indicators/core/breadth.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/min_max.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::kinds {

// High-low index: the simple average over `period` bars of the share of new highs
// among new highs and new lows, NH x 100 / max(NH + NL, 1). The shares are never
// negative: the average is read not below 0, and exactly 0 over a window of shares
// of 0, whatever residue the running sum keeps.
class HighLowIndex final : public Indicator {
public:
    static Expected<HighLowIndex, IndicatorError> make(std::size_t period) {
        OSTREL_TRY(sma, core::Sma::make(period));
        return HighLowIndex(std::move(sma));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto c = core::BreadthCounts::of(f);
        if (!c) return std::nullopt;
        const std::int64_t total = c->new_highs + c->new_lows;
        const double share = static_cast<double>(c->new_highs) * 100.0 / static_cast<double>(total > 1 ? total : 1);
        auto v = sma_.step(share);
        shares_.push(share);
        if (!v) return v;
        return shares_.covers(sma_.period()) ? 0.0 : core::not_below_zero(*v);
    }
    std::size_t warmup_period() const override { return sma_.period(); }

private:
    explicit HighLowIndex(core::Sma sma) : sma_(std::move(sma)) {}

    core::Sma sma_;
    core::ZeroRun shares_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HighLowIndex(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "HighLowIndex"));
    return box_kind<kinds::HighLowIndex>("HighLowIndex", kinds::HighLowIndex::make(period));
}

}  // namespace ostrel::catalogue
