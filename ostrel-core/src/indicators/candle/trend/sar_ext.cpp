#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/parabolic_sar.hpp"

namespace ostrel::kinds {

// Extended parabolic stop: separate long and short schedules, an optional forced
// start, a widening on every reversal, and a negative value while short.
class SarExt final : public Indicator {
public:
    static Expected<SarExt, IndicatorError> make(double start, double reverse_offset, core::SarSchedule long_s,
                                                 core::SarSchedule short_s) {
        if (!std::isfinite(start) || !std::isfinite(reverse_offset) || reverse_offset < 0.0)
            return IndicatorError::non_positive_multiplier();
        if (auto e = check_schedule(long_s)) return *e;
        if (auto e = check_schedule(short_s)) return *e;
        return SarExt(core::ParabolicSar(long_s, short_s, start, reverse_offset, true));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto v = sar_.step(c->high, c->low);
        if (!v) return std::nullopt;
        return sar_.is_short() ? -*v : *v;
    }
    std::size_t warmup_period() const override { return 2; }

private:
    explicit SarExt(core::ParabolicSar s) : sar_(s) {}

    static std::optional<IndicatorError> check_schedule(const core::SarSchedule& s) {
        for (double v : {s.init, s.step, s.max})
            if (!std::isfinite(v) || !(v > 0.0)) return IndicatorError::non_positive_multiplier();
        if (s.init > s.max) return IndicatorError::invalid_period("acceleration init must be <= max");
        return std::nullopt;
    }

    core::ParabolicSar sar_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SarExt(std::span<const double> p) {
    OSTREL_TRY(start, param_f64(p, 0, "SarExt"));
    OSTREL_TRY(reverse_offset, param_f64(p, 1, "SarExt"));
    OSTREL_TRY(long_init, param_f64(p, 2, "SarExt"));
    OSTREL_TRY(long_step, param_f64(p, 3, "SarExt"));
    OSTREL_TRY(long_max, param_f64(p, 4, "SarExt"));
    OSTREL_TRY(short_init, param_f64(p, 5, "SarExt"));
    OSTREL_TRY(short_step, param_f64(p, 6, "SarExt"));
    OSTREL_TRY(short_max, param_f64(p, 7, "SarExt"));
    return box_kind<kinds::SarExt>(
        "SarExt", kinds::SarExt::make(start, reverse_offset, {long_init, long_step, long_max},
                                      {short_init, short_step, short_max}));
}

}  // namespace ostrel::catalogue
