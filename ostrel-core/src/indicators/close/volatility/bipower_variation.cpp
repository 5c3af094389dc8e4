#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/return_window.hpp"

namespace ostrel::kinds {

// pi/2 times the sum of |r(i) * r(i+1)| over the adjacent pairs of the last `period`
// log returns. The running sum is recomputed every `period` pairs added.
class BipowerVariation final : public Indicator {
public:
    static Expected<BipowerVariation, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        if (period == 1) return IndicatorError::invalid_period("bipower variation period must be >= 2");
        return BipowerVariation(*core::ReturnWindow::make(period));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        double p = f.candle.close;
        if (!std::isfinite(p) || !(p > 0.0)) return std::nullopt;
        auto r = w_.log_return(p);
        if (!r) return std::nullopt;
        auto& ring = w_.ring;
        if (!ring.empty()) {
            w_.sum = w_.sum + std::fabs(*r * ring.newest());
            ++w_.updates_since_rebuild;
        }
        w_.run.push(*r);
        if (ring.full()) {
            double r0 = ring.oldest();
            ring.push(*r);  // drops r0; ring[0] is now the next oldest
            w_.sum = w_.sum - std::fabs(r0 * ring.oldest());
            if (w_.updates_since_rebuild >= w_.period) {
                double s = 0.0;
                for (std::size_t i = 0; i + 1 < ring.size(); ++i) s = s + std::fabs(ring[i] * ring[i + 1]);
                w_.sum = s;
                w_.updates_since_rebuild = 0;
            }
        } else {
            ring.push(*r);
        }
        if (!ring.full()) return std::nullopt;
        // Returns that are all 0 give products of 0, not the residue of those that left.
        const double v = w_.all_zero() ? 0.0 : (w_.sum > 0.0 ? w_.sum : 0.0) * 1.5707963267948966;
        w_.last = v;
        return v;
    }
    std::size_t warmup_period() const override { return w_.period + 1; }

private:
    explicit BipowerVariation(core::ReturnWindow w) : w_(std::move(w)) {}
    core::ReturnWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_BipowerVariation(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "BipowerVariation"));
    return box_kind<kinds::BipowerVariation>("BipowerVariation", kinds::BipowerVariation::make(period));
}

}  // namespace ostrel::catalogue
