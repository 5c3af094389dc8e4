#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ema.hpp"

namespace ostrel::kinds {

// Triple exponential average: 3 e1 - 3 e2 + e3 over three chained averages.
class Tema final : public Indicator {
public:
    static Expected<Tema, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Tema(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto e1 = first_.step(f.candle.close);
        if (!e1 || !std::isfinite(*e1)) return std::nullopt;
        auto e2 = second_.step(*e1);
        if (!e2 || !std::isfinite(*e2)) return std::nullopt;
        auto e3 = third_.step(*e2);
        if (!e3) return std::nullopt;
        return (*e1 * 3.0 - *e2 * 3.0) + *e3;
    }
    std::size_t warmup_period() const override { return 3 * first_.period() - 2; }

private:
    explicit Tema(std::size_t period)
        : first_(*core::Ema::make(period)), second_(*core::Ema::make(period)), third_(*core::Ema::make(period)) {}
    core::Ema first_;
    core::Ema second_;
    core::Ema third_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Tema(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Tema"));
    return box_kind<kinds::Tema>("Tema", kinds::Tema::make(period));
}

}  // namespace ostrel::catalogue
