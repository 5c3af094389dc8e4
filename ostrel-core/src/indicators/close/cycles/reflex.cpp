#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/reflex.hpp"

namespace ostrel::kinds {

// Reflex: the mean deviation of the smoothed close from the straight line through
// the newest and the `period`-back values, normalised by its running RMS.
class Reflex final : public Indicator {
public:
    explicit Reflex(core::FlexState s) : s_(std::move(s)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        if (!s_.push(x)) return std::nullopt;
        const std::size_t n = s_.period;
        const double nf = static_cast<double>(n);
        const double f0 = s_.filtered.back(0);
        const double slope = (s_.filtered.back(n) - f0) / nf;
        double sum = 0.0;
        for (std::size_t k = 1; k <= n; ++k) sum = sum + ((f0 + static_cast<double>(k) * slope) - s_.filtered.back(k));
        return s_.answer(s_.normalise(sum / nf));
    }
    std::size_t warmup_period() const override { return s_.period + 1; }

private:
    core::FlexState s_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Reflex(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Reflex"));
    return box_kind<kinds::Reflex>("Reflex", core::FlexState::make(period));
}

}  // namespace ostrel::catalogue
