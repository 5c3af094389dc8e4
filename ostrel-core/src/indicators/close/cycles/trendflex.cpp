#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/reflex.hpp"

namespace ostrel::kinds {

// Trendflex: the mean difference between the newest smoothed close and each of the
// `period` before it, normalised by its running RMS.
class Trendflex final : public Indicator {
public:
    explicit Trendflex(core::FlexState s) : s_(std::move(s)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        if (!s_.push(x)) return std::nullopt;
        const std::size_t n = s_.period;
        const double f0 = s_.filtered.back(0);
        double sum = 0.0;
        for (std::size_t k = 1; k <= n; ++k) sum = sum + (f0 - s_.filtered.back(k));
        return s_.answer(s_.normalise(sum / static_cast<double>(n)));
    }
    std::size_t warmup_period() const override { return s_.period + 1; }

private:
    core::FlexState s_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Trendflex(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Trendflex"));
    return box_kind<kinds::Trendflex>("Trendflex", core::FlexState::make(period));
}

}  // namespace ostrel::catalogue
