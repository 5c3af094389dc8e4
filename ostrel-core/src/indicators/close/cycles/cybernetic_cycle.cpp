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
        const double smooth = seen_ >= 3 ? (x + 2.0 * x1_ + 2.0 * x2_ + x3_) / 6.0 : x;
        double cycle;
        if (seen_ >= 2) {
            const double k = 1.0 - alpha_ / 2.0;
            const double g = 1.0 - alpha_;
            cycle = (k * k) * ((smooth - 2.0 * s1_) + s2_) + 2.0 * g * c1_ - (g * g) * c2_;
        } else {
            // x[2] does not exist yet and stands in for itself, as x[1] does on the
            // first close.
            cycle = (x - 2.0 * (seen_ >= 1 ? x1_ : x) + x) / 4.0;
        }
        x3_ = x2_;
        x2_ = x1_;
        x1_ = x;
        s2_ = s1_;
        s1_ = smooth;
        c2_ = c1_;
        c1_ = cycle;
        if (seen_ < 3) ++seen_;
        closes_.push(x);
        return closes_.constant_from_start() && cycle != 0.0 ? 0.0 : cycle;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    explicit CyberneticCycle(std::size_t period) : alpha_(2.0 / (static_cast<double>(period) + 1.0)) {}

    double alpha_;
    // The histories as plain values, read once they exist: `seen_` counts the
    // accepted closes up to 3 (x[k] exists after k, s[2] and c[2] after 2). Plain
    // doubles shift without the partial stores and wide reloads of optionals.
    std::size_t seen_ = 0;
    double x1_ = 0.0, x2_ = 0.0, x3_ = 0.0;
    double s1_ = 0.0, s2_ = 0.0;
    double c1_ = 0.0, c2_ = 0.0;
    core::EqualRun closes_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_CyberneticCycle(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "CyberneticCycle"));
    return box_kind<kinds::CyberneticCycle>("CyberneticCycle", kinds::CyberneticCycle::make(period));
}

}  // namespace ostrel::catalogue
