#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/rolling_window.hpp"

namespace ostrel::kinds {

// Middle of the highest and lowest close of the window.
class MidPoint final : public Indicator {
public:
    explicit MidPoint(core::RollingWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        w_.push(x);
        if (!w_.full()) return std::nullopt;
        double hi = w_.window[0], lo = hi;
        // Plain comparisons would keep whichever zero came first; +0 must win the
        // maximum and -0 the minimum.
        w_.window.for_each([&](double v) {
            if (v > hi || (v == hi && !std::signbit(v))) hi = v;
            if (v < lo || (v == lo && std::signbit(v))) lo = v;
        });
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
