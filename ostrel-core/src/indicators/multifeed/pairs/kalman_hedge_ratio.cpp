#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"

namespace ostrel::kinds {

// Time-varying hedge ratio and intercept of x = alpha + beta y + noise, tracked by
// a two-state Kalman filter with random-walk states (process variance
// delta / (1 - delta) on each state, observation variance `observation_var`).
class KalmanHedgeRatio final : public Indicator {
public:
    static Expected<KalmanHedgeRatio, IndicatorError> make(double delta, double observation_var) {
        if (!std::isfinite(delta) || !(delta > 0.0) || !(delta < 1.0))
            return IndicatorError::invalid_parameter("kalman hedge ratio needs delta in (0, 1)");
        if (!std::isfinite(observation_var) || !(observation_var > 0.0))
            return IndicatorError::invalid_parameter("kalman hedge ratio needs observation_var > 0");
        return KalmanHedgeRatio(delta, observation_var);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        const double x = in->x;
        const double y = in->y;
        // Predict: the first update adds no process noise.
        double pbb = pbb_;
        double paa = paa_;
        if (updates_ > 0) {
            pbb = pbb + vw_;
            paa = paa + vw_;
        }
        const double pba = pba_;
        const double pab = pab_;
        const double s = ((ve_ + pbb * (y * y)) + (pba + pab) * y) + paa;
        const double kb = (pbb * y + pba) / s;
        const double ka = (pab * y + paa) / s;
        const double e = x - (beta_ * y + alpha_);
        beta_ = beta_ + kb * e;
        alpha_ = alpha_ + ka * e;
        const double gb = pbb * y + pab;
        const double ga = pba * y + paa;
        pbb_ = pbb - kb * gb;
        pba_ = pba - kb * ga;
        pab_ = pab - ka * gb;
        paa_ = paa - ka * ga;
        ++updates_;
        outputs_.store({beta_, alpha_, e});
        return beta_;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return 1; }

private:
    KalmanHedgeRatio(double delta, double observation_var)
        : vw_(delta / (1.0 - delta)), ve_(observation_var) {}

    double vw_;
    double ve_;
    double beta_ = 0.0;
    double alpha_ = 0.0;
    double pbb_ = 0.0, pba_ = 0.0, pab_ = 0.0, paa_ = 0.0;
    std::size_t updates_ = 0;
    OutputSlots<3> outputs_{{"hedge_ratio", "intercept", "spread"}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_KalmanHedgeRatio(std::span<const double> p) {
    OSTREL_TRY(delta, param_f64(p, 0, "KalmanHedgeRatio"));
    OSTREL_TRY(observation_var, param_f64(p, 1, "KalmanHedgeRatio"));
    return box_kind<kinds::KalmanHedgeRatio>("KalmanHedgeRatio", kinds::KalmanHedgeRatio::make(delta, observation_var));
}

}  // namespace ostrel::catalogue
