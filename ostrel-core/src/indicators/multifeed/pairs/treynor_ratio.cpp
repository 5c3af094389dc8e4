#include "catalogue/params.hpp"
#include "indicators/core/anchored_pair_sums.hpp"
#include "indicators/feed_access.hpp"

namespace ostrel::kinds {

// Excess mean of the close per unit of beta: (mean(x) - risk_free) / beta; 0 when
// the reference does not move or beta is 0.
class TreynorRatio final : public Indicator {
public:
    static Expected<TreynorRatio, IndicatorError> make(std::size_t period, double risk_free) {
        if (auto e = core::check_min_period(period, 2, "treynor ratio needs period >= 2")) return *e;
        return TreynorRatio(period, risk_free);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        sums_.push(in->x, in->y);
        if (!sums_.full()) return std::nullopt;
        const double beta = sums_.slope();
        if (beta == 0.0) return 0.0;
        return (sums_.mean_u() - risk_free_) / beta;
    }
    std::size_t warmup_period() const override { return sums_.period(); }

private:
    TreynorRatio(std::size_t period, double risk_free) : sums_(period), risk_free_(risk_free) {}

    core::AnchoredPairSums sums_;
    double risk_free_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TreynorRatio(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "TreynorRatio"));
    OSTREL_TRY(risk_free, param_f64(p, 1, "TreynorRatio"));
    return box_kind<kinds::TreynorRatio>("TreynorRatio", kinds::TreynorRatio::make(period, risk_free));
}

}  // namespace ostrel::catalogue
