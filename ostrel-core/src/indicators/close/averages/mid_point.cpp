#include <cmath>
#include <limits>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_window.hpp"

namespace ostrel::kinds {

// Middle of the highest and lowest close of the window.
class MidPoint final : public Indicator {
public:
    explicit MidPoint(core::RollingWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!w_.push_finite(f.candle.close)) return std::nullopt;
        double hi = -std::numeric_limits<double>::infinity();
        double lo = std::numeric_limits<double>::infinity();
        w_.window.for_each([&](double v) {
            if (v > hi) hi = v;
            if (v < lo) lo = v;
        });
        // Between zeros the plain comparisons keep whichever came first; +0 must win
        // the maximum and -0 the minimum.
        if (hi == 0.0 || lo == 0.0) {
            bool pos_zero = false, neg_zero = false;
            w_.window.for_each([&](double v) {
                if (v == 0.0) (std::signbit(v) ? neg_zero : pos_zero) = true;
            });
            if (hi == 0.0 && pos_zero) hi = 0.0;
            if (lo == 0.0 && neg_zero) lo = -0.0;
        }
        return midpoint(hi, lo);
    }
    std::size_t warmup_period() const override { return w_.period; }

private:
    core::RollingWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MidPoint(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "MidPoint"));
    return box_kind<kinds::MidPoint>("MidPoint", core::RollingWindow::make(period));
}

}  // namespace ostrel::catalogue
