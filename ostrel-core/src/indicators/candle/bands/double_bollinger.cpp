#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/bollinger.hpp"

namespace ostrel::kinds {

// Two pairs of Bollinger bands of the close around one mean: the outer pair at
// k_outer standard deviations, the inner pair at k_inner. Reads only the close.
class DoubleBollinger final : public Indicator {
public:
    static Expected<DoubleBollinger, IndicatorError> make(std::size_t period, double k_inner, double k_outer) {
        if (!std::isfinite(k_inner) || !(k_inner > 0.0) || !std::isfinite(k_outer) || !(k_outer > 0.0))
            return IndicatorError::non_positive_multiplier();
        if (k_outer <= k_inner) return IndicatorError::invalid_period("double bollinger requires k_outer > k_inner");
        if (auto e = check_period(period)) return *e;
        return DoubleBollinger(core::BollingerWindow(period, k_outer), k_inner);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto r = w_.step(f.candle.close);
        if (!r) return std::nullopt;
        double p = r->stddev * k_inner_;
        outputs_.store({r->upper, r->middle + p, r->middle, r->middle - p, r->lower});
        return r->upper;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return w_.period(); }

private:
    DoubleBollinger(core::BollingerWindow w, double k_inner)
        : w_(std::move(w)),
          k_inner_(k_inner),
          outputs_({"upper_outer", "upper_inner", "middle", "lower_inner", "lower_outer"}) {}

    core::BollingerWindow w_;  // multiplier k_outer
    double k_inner_;
    OutputSlots<5> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_DoubleBollinger(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "DoubleBollinger"));
    OSTREL_TRY(k_inner, param_f64(p, 1, "DoubleBollinger"));
    OSTREL_TRY(k_outer, param_f64(p, 2, "DoubleBollinger"));
    return box_kind<kinds::DoubleBollinger>("DoubleBollinger", kinds::DoubleBollinger::make(period, k_inner, k_outer));
}

}  // namespace ostrel::catalogue
