#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ema.hpp"

namespace ostrel::kinds {

// Double exponential average: 2 e1 - e2, e2 being the average of e1.
class Dema final : public Indicator {
public:
    static Expected<Dema, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Dema(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto e1 = first_.step(f.candle.close);
        if (!e1 || !std::isfinite(*e1)) return std::nullopt;
        auto e2 = second_.step(*e1);
        if (!e2) return std::nullopt;
        return (*e1 + *e1) - *e2;
    }
    std::size_t warmup_period() const override { return 2 * period_ - 1; }

private:
    explicit Dema(std::size_t period)
        : period_(period), first_(*core::Ema::make(period)), second_(*core::Ema::make(period)) {}
    std::size_t period_;
    core::Ema first_;
    core::Ema second_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Dema(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Dema"));
    return box_kind<kinds::Dema>("Dema", kinds::Dema::make(period));
}

}  // namespace ostrel::catalogue
