#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/cycle_filters.hpp"
#include "indicators/core/rolling_window.hpp"

namespace ostrel::kinds {

// Stochastic of the roofing-filtered close (high-pass 48, smoother 10) over the
// last `period` filtered values, scaled to [-1, 1] and averaged with the previous.
class EhlersStochastic final : public Indicator {
public:
    explicit EhlersStochastic(core::RollingWindow w)
        : prefilter_(core::RoofingPrefilter::with(core::OnePoleHighpass::with_alpha(0.1230235370072432))),
          w_(std::move(w)) {}

    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        const auto filt = prefilter_.step(x);
        if (!filt) return std::nullopt;
        w_.push(*filt);
        if (!w_.full()) return std::nullopt;
        const auto [hi, lo] = w_.high_low();
        const double stoc = hi - lo > 0.0 ? 2.0 * (*filt - lo) / (hi - lo) - 1.0 : 0.0;
        const double value = previous_ ? midpoint(stoc, *previous_) : stoc;
        previous_ = stoc;
        return value;
    }
    std::size_t warmup_period() const override { return w_.period; }

private:
    core::RoofingPrefilter prefilter_;
    core::RollingWindow w_;
    std::optional<double> previous_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_EhlersStochastic(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "EhlersStochastic"));
    return box_kind<kinds::EhlersStochastic>("EhlersStochastic", core::RollingWindow::make(period));
}

}  // namespace ostrel::catalogue
