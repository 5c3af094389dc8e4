#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/cycle_filters.hpp"

namespace ostrel::kinds {

// The close minus its two-pole high-pass: the trend part, with the cycles removed.
class Decycler final : public Indicator {
public:
    static Expected<Decycler, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        if (period < 2) return IndicatorError::invalid_period(core::kHighpassPeriodText);
        return Decycler(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        return x - filter_.step(x);  // x itself on a constant input (the high-pass is exactly 0)
    }
    std::size_t warmup_period() const override { return 1; }

private:
    explicit Decycler(std::size_t period) : filter_(core::TwoPoleHighpass::over(period)) {}

    core::TwoPoleHighpass filter_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Decycler(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Decycler"));
    return box_kind<kinds::Decycler>("Decycler", kinds::Decycler::make(period));
}

}  // namespace ostrel::catalogue
