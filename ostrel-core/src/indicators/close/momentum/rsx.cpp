#include <algorithm>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/log_return_step.hpp"

namespace ostrel::kinds {

// Smoothed RSI: three cascaded double smoothers over the change and over its
// magnitude, their ratio mapped onto 0..100.
class Rsx final : public Indicator {
public:
    static Expected<Rsx, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Rsx(period);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        const auto prev = prev_close_.step(close);
        if (!prev) return std::nullopt;
        const double mom = close - *prev;
        const double abs = std::fabs(close - *prev);
        const double numerator = cascade(m_, mom);
        const double denominator = cascade(a_, abs);
        double value = denominator > 0.0 ? (numerator / denominator + 1.0) * 50.0 : 50.0;
        value = std::clamp(value, 0.0, 100.0);
        if (++count_ < period_) return std::nullopt;
        return value;
    }
    std::size_t warmup_period() const override { return period_ + 1; }

private:
    explicit Rsx(std::size_t period)
        : period_(period), alpha_(3.0 / (static_cast<double>(period) + 2.0)), beta_(1.0 - alpha_) {}

    double smooth(double old, double input) const { return beta_ * old + alpha_ * input; }

    // Runs one input through the six stages s[0..5]; returns the last blend.
    double cascade(double (&s)[6], double input) const {
        s[0] = smooth(s[0], input);
        s[1] = smooth(s[1], s[0]);
        const double u1 = 1.5 * s[0] - 0.5 * s[1];
        s[2] = smooth(s[2], u1);
        s[3] = smooth(s[3], s[2]);
        const double u2 = 1.5 * s[2] - 0.5 * s[3];
        s[4] = smooth(s[4], u2);
        s[5] = smooth(s[5], s[4]);
        return 1.5 * s[4] - 0.5 * s[5];
    }

    core::PreviousClose prev_close_;
    std::size_t period_;
    double alpha_;
    double beta_;
    std::size_t count_ = 0;
    double m_[6] = {0, 0, 0, 0, 0, 0};
    double a_[6] = {0, 0, 0, 0, 0, 0};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Rsx(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Rsx"));
    return box_kind<kinds::Rsx>("Rsx", kinds::Rsx::make(period));
}

}  // namespace ostrel::catalogue
