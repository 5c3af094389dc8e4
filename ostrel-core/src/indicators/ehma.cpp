#include <algorithm>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/ema.hpp"

namespace ostrel::kinds {

// Hull average on exponential stages: ema(round(sqrt(period))) of 2 ema(period/2) - ema(period).
class Ehma final : public Indicator {
public:
    static Expected<Ehma, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Ehma(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto h = half_.step(f.candle.close);
        auto full = full_.step(f.candle.close);
        if (!h || !full) return std::nullopt;
        double d = (*h + *h) - *full;
        if (!std::isfinite(d)) return std::nullopt;
        return smoothing_.step(d);
    }
    std::size_t warmup_period() const override { return period_ + smoothing_length(period_) - 1; }

    // max(round(sqrt(period)), 1)
    static std::size_t smoothing_length(std::size_t period) {
        auto r = static_cast<std::size_t>(std::llround(std::sqrt(static_cast<double>(period))));
        return std::max<std::size_t>(r, 1);
    }

private:
    explicit Ehma(std::size_t period)
        : period_(period),
          half_(*core::Ema::make(period < 2 ? 1 : period / 2)),
          full_(*core::Ema::make(period)),
          smoothing_(*core::Ema::make(smoothing_length(period))) {}
    std::size_t period_;
    core::Ema half_;
    core::Ema full_;
    core::Ema smoothing_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Ehma(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Ehma"));
    return box_kind<kinds::Ehma>("Ehma", kinds::Ehma::make(period));
}

}  // namespace ostrel::catalogue
