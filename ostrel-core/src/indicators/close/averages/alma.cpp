#include <cmath>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Gaussian-weighted window average; the weights are normalised to add up to 1
// before they are applied.
class Alma final : public Indicator {
public:
    static Expected<Alma, IndicatorError> make(std::size_t period, double offset, double sigma) {
        if (auto e = check_period(period)) return *e;
        if (!std::isfinite(offset) || offset < 0.0 || offset > 1.0)
            return IndicatorError::invalid_period("ALMA offset must be a finite value in [0, 1]");
        if (!std::isfinite(sigma) || !(sigma > 0.0))
            return IndicatorError::invalid_period("ALMA sigma must be a finite positive value");
        return Alma(period, offset, sigma);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!core::push_finite(window_, f.candle.close)) return std::nullopt;
        if (weights_.empty()) compute_weights();
        double v = 0.0;
        std::size_t i = 0;
        window_.for_each([&](double c) { v = v + c * weights_[i++]; });
        last_ = v;
        return v;
    }
    std::size_t warmup_period() const override { return period_; }

private:
    Alma(std::size_t period, double offset, double sigma)
        : window_(period), period_(period), offset_(offset), sigma_(sigma) {}

    // The weights, made when the window first fills, so that a window that never
    // fills costs none.
    void compute_weights() {
        weights_.resize(period_);
        const double n = static_cast<double>(period_);
        const double m = offset_ * (n + -1.0);
        const double s = n / sigma_;
        double total = -0.0;
        for (std::size_t i = 0; i < period_; ++i) {
            double d = static_cast<double>(i) - m;
            weights_[i] = std::exp(-(d * d) / (s * (s + s)));
            total = total + weights_[i];
        }
        for (double& w : weights_) w = w / total;
    }

    std::vector<double> weights_;
    core::Ring<double> window_;
    std::optional<double> last_;
    std::size_t period_;
    double offset_;
    double sigma_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Alma(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Alma"));
    OSTREL_TRY(offset, param_f64(p, 1, "Alma"));
    OSTREL_TRY(sigma, param_f64(p, 2, "Alma"));
    return box_kind<kinds::Alma>("Alma", kinds::Alma::make(period, offset, sigma));
}

}  // namespace ostrel::catalogue
