#include <algorithm>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/equal_run.hpp"

namespace ostrel::kinds {

// RSI of a four-stage Laguerre filter of the close: the up and down differences
// between adjacent stages. While every close so far is the same value the stages all
// equal it in exact arithmetic and the value is 50; the rounded stages, which keep
// their arithmetic, may differ by a unit in the last place.
class LaguerreRsi final : public Indicator {
public:
    static Expected<LaguerreRsi, IndicatorError> make(double gamma) {
        if (!std::isfinite(gamma) || gamma < 0.0 || gamma > 1.0)
            return IndicatorError::invalid_period("LaguerreRSI gamma must be a finite value in [0, 1]");
        return LaguerreRsi(gamma);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        const double g = gamma_;
        closes_.push(close);
        if (!initialised_) {
            l0_ = l1_ = l2_ = l3_ = close;
            initialised_ = true;
            return 50.0;
        }
        const double l0 = close * one_minus_gamma_ + l0_ * g;
        const double l1 = l1_ * g + (l0_ - g * l0);
        const double l2 = l2_ * g + (l1_ - g * l1);
        const double l3 = g * l3_ + (l2_ - g * l2);
        l0_ = l0;
        l1_ = l1;
        l2_ = l2;
        l3_ = l3;
        double cu = 0.0;
        double cd = 0.0;
        accumulate(l0, l1, cu, cd);
        accumulate(l1, l2, cu, cd);
        accumulate(l2, l3, cu, cd);
        if (closes_.constant_from_start()) return 50.0;
        if (cd + cu > 0.0) return std::clamp(cu * 100.0 / (cd + cu), 0.0, 100.0);
        return 50.0;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    explicit LaguerreRsi(double gamma) : gamma_(gamma), one_minus_gamma_(1.0 - gamma) {}

    static void accumulate(double first, double second, double& cu, double& cd) {
        if (first >= second) {
            cu = cu + (first - second);
        } else {
            cd = cd + (second - first);
        }
    }

    double gamma_;
    double one_minus_gamma_;
    core::EqualRun closes_;
    double l0_ = 0.0;
    double l1_ = 0.0;
    double l2_ = 0.0;
    double l3_ = 0.0;
    bool initialised_ = false;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_LaguerreRsi(std::span<const double> p) {
    OSTREL_TRY(gamma, param_f64(p, 0, "LaguerreRsi"));
    return box_kind<kinds::LaguerreRsi>("LaguerreRsi", kinds::LaguerreRsi::make(gamma));
}

}  // namespace ostrel::catalogue
