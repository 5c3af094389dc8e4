#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_sums.hpp"

namespace ostrel::kinds {

// Mean funding rate of the last `period` records. The rate is appended and added
// first; at every `period`-th record the sum is recomputed over the window as it
// then stands (the leaving rate still in it, oldest first, from negative zero), and
// only then is the leaving rate subtracted. A non-finite rate is refused unchanged,
// like a bar without a record, so that one bad tick cannot spoil the window.
class FundingRateMean final : public Indicator {
public:
    explicit FundingRateMean(core::RollingSums s) : s_(std::move(s)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.derivatives) return std::nullopt;
        const double v = f.derivatives->funding_rate;
        if (!std::isfinite(v)) return std::nullopt;
        const bool evicts = s_.window.full();
        const double leaving = evicts ? s_.window.oldest() : 0.0;
        s_.window.push(v);
        s_.sum = s_.sum + v;
        if (++s_.pushes_since_resum == s_.period) {
            double total = -0.0;
            if (evicts) total = total + leaving;
            s_.window.for_each([&](double x) { total = total + x; });
            s_.sum = total;
            s_.pushes_since_resum = 0;
        }
        if (evicts) s_.sum = s_.sum - leaving;
        if (!s_.window.full()) return std::nullopt;
        return s_.sum / static_cast<double>(s_.period);
    }
    std::size_t warmup_period() const override { return s_.period; }

private:
    core::RollingSums s_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FundingRateMean(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "FundingRateMean"));
    return box_kind<kinds::FundingRateMean>("FundingRateMean", core::RollingSums::make(period));
}

}  // namespace ostrel::catalogue
