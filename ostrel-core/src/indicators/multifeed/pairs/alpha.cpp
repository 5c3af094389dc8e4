#include "catalogue/params.hpp"
#include "indicators/core/anchored_pair_sums.hpp"
#include "indicators/feed_access.hpp"

namespace ostrel::kinds {

// Jensen's alpha on the window's series values: mean(x) - (risk_free + beta x
// (mean(y) - risk_free)), or mean(x) - risk_free when the reference does not move.
class Alpha final : public Indicator {
public:
    static Expected<Alpha, IndicatorError> make(std::size_t period, double risk_free) {
        if (auto e = core::check_min_period(period, 2, "alpha needs period >= 2")) return *e;
        return Alpha(period, risk_free);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        sums_.push(in->x, in->y);
        if (!sums_.full()) return std::nullopt;
        const double mean_x = sums_.mean_u();
        const double var_y = sums_.var_v();
        if (!(var_y > 0.0)) return mean_x - risk_free_;
        const double beta = sums_.cov() / var_y;
        return mean_x - (risk_free_ + beta * (sums_.mean_v() - risk_free_));
    }
    std::size_t warmup_period() const override { return sums_.period(); }

private:
    Alpha(std::size_t period, double risk_free) : sums_(period), risk_free_(risk_free) {}

    core::AnchoredPairSums sums_;
    double risk_free_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Alpha(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Alpha"));
    OSTREL_TRY(risk_free, param_f64(p, 1, "Alpha"));
    return box_kind<kinds::Alpha>("Alpha", kinds::Alpha::make(period, risk_free));
}

}  // namespace ostrel::catalogue
