#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/parabolic_sar.hpp"

namespace ostrel::kinds {

// Parabolic stop and reverse with one acceleration schedule for both directions.
class Psar final : public Indicator {
public:
    static Expected<Psar, IndicatorError> make(double af_start, double af_step, double af_max) {
        if (!positive(af_start) || !positive(af_step) || !positive(af_max))
            return IndicatorError::non_positive_multiplier();
        if (af_start > af_max) return IndicatorError::invalid_period("af_start must be <= af_max");
        core::SarSchedule s{af_start, af_step, af_max};
        return Psar(core::ParabolicSar(s, s, 0.0, 0.0, false));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        return sar_.step(c->high, c->low);
    }
    std::size_t warmup_period() const override { return 2; }

private:
    explicit Psar(core::ParabolicSar s) : sar_(s) {}
    static bool positive(double v) { return std::isfinite(v) && v > 0.0; }

    core::ParabolicSar sar_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Psar(std::span<const double> p) {
    OSTREL_TRY(af_start, param_f64(p, 0, "Psar"));
    OSTREL_TRY(af_step, param_f64(p, 1, "Psar"));
    OSTREL_TRY(af_max, param_f64(p, 2, "Psar"));
    return box_kind<kinds::Psar>("Psar", kinds::Psar::make(af_start, af_step, af_max));
}

}  // namespace ostrel::catalogue
