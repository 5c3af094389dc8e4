#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/cycle_filters.hpp"

namespace ostrel::kinds {

// Two-pole super smoother of the close over `period` bars.
class SuperSmoother final : public Indicator {
public:
    static Expected<SuperSmoother, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return SuperSmoother(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        return filter_.step(x);
    }
    std::size_t warmup_period() const override { return 1; }

private:
    explicit SuperSmoother(std::size_t period) : filter_(core::SuperSmoother::over(static_cast<double>(period))) {}

    core::SuperSmoother filter_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SuperSmoother(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "SuperSmoother"));
    return box_kind<kinds::SuperSmoother>("SuperSmoother", kinds::SuperSmoother::make(period));
}

}  // namespace ostrel::catalogue
