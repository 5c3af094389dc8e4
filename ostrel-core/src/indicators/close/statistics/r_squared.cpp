#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/linreg.hpp"
#include "indicators/core/tsf.hpp"

namespace ostrel::kinds {

// Coefficient of determination of the least-squares line; 1 for a flat window.
class RSquared final : public Indicator {
public:
    static Expected<core::RegressionWindow, IndicatorError> make(std::size_t period) {
        return core::RegressionWindow::make(period, "R² needs period >= 2");
    }
    explicit RSquared(core::RegressionWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!w_.push(f.candle.close)) return std::nullopt;
        // A flat window has no total sum of squares, however much residue the sums keep.
        if (w_.flat()) return 1.0;
        const double n = static_cast<double>(w_.period());
        const double sy_n = w_.sum_y() / n;
        double ss = w_.sum_yy() - sy_n * (sy_n * n);
        double ss_tot = ss > 0.0 ? ss : 0.0;
        if (!(ss_tot > 0.0)) return 1.0;
        double b = w_.slope();
        double r2 = ((w_.denominator() / n) * (b * b)) / ss_tot;
        if (r2 < 0.0) r2 = 0.0;
        if (r2 > 1.0) r2 = 1.0;
        return r2;
    }
    std::size_t warmup_period() const override { return w_.period(); }

private:
    core::RegressionWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RSquared(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "RSquared"));
    return box_kind<kinds::RSquared>("RSquared", kinds::RSquared::make(period));
}

}  // namespace ostrel::catalogue
