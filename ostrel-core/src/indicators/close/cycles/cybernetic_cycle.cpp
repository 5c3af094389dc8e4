#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/equal_run.hpp"

namespace ostrel::kinds {

// Cybernetic cycle: a two-pole high-pass of the four-tap smoothed close; until its
// history exists, a second difference of the close over four. While every close so
// far is the same value the exact cycle is 0 (the rounded six-tap mean can differ
// from the close by a unit in the last place, which the high-pass would pass on);
// the histories keep their rounded values.
class CyberneticCycle final : public Indicator {
public:
    static Expected<CyberneticCycle, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return CyberneticCycle(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        const double smooth = (x1_ && x2_ && x3_) ? (x + 2.0 * *x1_ + 2.0 * *x2_ + *x3_) / 6.0 : x;
        double cycle;
        if (s1_ && s2_ && c1_ && c2_) {
            const double k = 1.0 - alpha_ / 2.0;
            const double g = 1.0 - alpha_;
            cycle = (k * k) * ((smooth - 2.0 * *s1_) + *s2_) + 2.0 * g * *c1_ - (g * g) * *c2_;
        } else {
            cycle = (x - 2.0 * x1_.value_or(x) + x2_.value_or(x)) / 4.0;
        }
        x3_ = x2_;
        x2_ = x1_;
        x1_ = x;
        s2_ = s1_;
        s1_ = smooth;
        c2_ = c1_;
        c1_ = cycle;
        closes_.push(x);
        return closes_.constant_from_start() && cycle != 0.0 ? 0.0 : cycle;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    explicit CyberneticCycle(std::size_t period) : alpha_(2.0 / (static_cast<double>(period) + 1.0)) {}

    double alpha_;
    std::optional<double> x1_, x2_, x3_;
    std::optional<double> s1_, s2_;
    std::optional<double> c1_, c2_;
    core::EqualRun closes_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_CyberneticCycle(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "CyberneticCycle"));
    return box_kind<kinds::CyberneticCycle>("CyberneticCycle", kinds::CyberneticCycle::make(period));
}

}  // namespace ostrel::catalogue
