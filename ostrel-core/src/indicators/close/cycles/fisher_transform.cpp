#include <algorithm>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_window.hpp"

namespace ostrel::kinds {

// Fisher transform of the close's smoothed position within its `period` range.
class FisherTransform final : public Indicator {
public:
    explicit FisherTransform(core::RollingWindow w) : w_(std::move(w)) {}

    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!w_.push_finite(x)) return std::nullopt;
        const auto [hi, lo] = w_.high_low();
        const double pos = hi - lo > 0.0 ? 2.0 * (x - lo) / (hi - lo) - 1.0 : 0.0;
        v_ = std::clamp(0.33 * pos + 0.67 * v_, -0.999, 0.999);
        const double fisher = 0.5 * std::log((1.0 + v_) / (1.0 - v_)) + 0.5 * previous_.value_or(0.0);
        previous_ = fisher;
        return fisher;
    }
    std::size_t warmup_period() const override { return w_.period; }

private:
    core::RollingWindow w_;
    double v_ = 0.0;
    std::optional<double> previous_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FisherTransform(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "FisherTransform"));
    return box_kind<kinds::FisherTransform>("FisherTransform", core::RollingWindow::make(period));
}

}  // namespace ostrel::catalogue
