#include <algorithm>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/wma.hpp"

namespace ostrel::kinds {

// Hull average: a weighted average of round(sqrt(period)) values of 2 wma(period/2) - wma(period).
class Hma final : public Indicator {
public:
    static Expected<Hma, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Hma(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto h = half_.step(f.candle.close);
        auto full = full_.step(f.candle.close);
        if (!h || !full) return std::nullopt;
        double d = (*h + *h) - *full;
        return smoothing_.step(d);
    }
    std::size_t warmup_period() const override { return period_ + smoothing_length(period_) - 1; }

    // max(round(sqrt(period)), 1)
    static std::size_t smoothing_length(std::size_t period) {
        auto r = static_cast<std::size_t>(std::llround(std::sqrt(static_cast<double>(period))));
        return std::max<std::size_t>(r, 1);
    }

private:
    explicit Hma(std::size_t period)
        : period_(period),
          half_(*core::Wma::make(period < 2 ? 1 : period / 2)),
          full_(*core::Wma::make(period)),
          smoothing_(*core::Wma::make(smoothing_length(period))) {}
    std::size_t period_;
    core::Wma half_;
    core::Wma full_;
    core::Wma smoothing_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Hma(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Hma"));
    return box_kind<kinds::Hma>("Hma", kinds::Hma::make(period));
}

}  // namespace ostrel::catalogue
