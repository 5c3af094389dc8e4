#include <cmath>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Average weighted by the first half-wave of a sine: weight i = sin((i + 1) pi /
// (period + 1)), weight 0 on the oldest close.
class SineWeightedMa final : public Indicator {
public:
    static Expected<SineWeightedMa, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return SineWeightedMa(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!core::push_finite(window_, f.candle.close)) return std::nullopt;
        if (weights_.empty()) compute_weights();
        double s = -0.0;
        std::size_t i = 0;
        window_.for_each([&](double v) { s = s + v * weights_[i++]; });
        return s / weight_total_;
    }
    std::size_t warmup_period() const override { return period_; }

private:
    explicit SineWeightedMa(std::size_t period) : window_(period), period_(period) {}

    // The weights, made when the window first fills, so that a window that never
    // fills costs none.
    void compute_weights() {
        weights_.resize(period_);
        constexpr double pi = 3.141592653589793;
        const double denom = static_cast<double>(period_) + 1.0;
        double total = -0.0;
        for (std::size_t i = 0; i < period_; ++i) {
            weights_[i] = std::sin(((static_cast<double>(i) + 1.0) * pi) / denom);
            total = total + weights_[i];
        }
        weight_total_ = total;
    }
    core::Ring<double> window_;
    std::vector<double> weights_;
    std::size_t period_;
    double weight_total_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SineWeightedMa(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "SineWeightedMa"));
    return box_kind<kinds::SineWeightedMa>("SineWeightedMa", kinds::SineWeightedMa::make(period));
}

}  // namespace ostrel::catalogue
