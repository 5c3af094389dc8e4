#include <array>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_window.hpp"

namespace ostrel::kinds {

// Laguerre filter whose damping alpha adapts to the tracking error: the position of
// the newest absolute error within the range of the last `period` errors, taken as
// the median of the last five such positions.
class AdaptiveLaguerreFilter final : public Indicator {
public:
    explicit AdaptiveLaguerreFilter(core::RollingWindow errors) : errors_(std::move(errors)) {}

    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        if (!previous_) l0_ = l1_ = l2_ = l3_ = x;
        const double e = previous_ ? std::fabs(x - *previous_) : 0.0;
        errors_.push(e);

        const auto [hi, lo] = errors_.high_low();
        if (hi - lo > 0.0) {
            push_candidate((e - lo) / (hi - lo));
            alpha_ = median_candidate();
        }

        const double g = 1.0 - alpha_;
        const double l0 = alpha_ * x + g * l0_;
        const double l1 = -g * l0 + l0_ + g * l1_;
        const double l2 = -g * l1 + l1_ + g * l2_;
        const double l3 = -g * l2 + l2_ + g * l3_;
        l0_ = l0;
        l1_ = l1;
        l2_ = l2;
        l3_ = l3;
        const double filt = (l0 + 2.0 * l1 + 2.0 * l2 + l3) / 6.0;
        previous_ = filt;
        if (!errors_.full()) return std::nullopt;
        return filt;
    }
    std::size_t warmup_period() const override { return errors_.period; }

private:
    void push_candidate(double a) {
        if (count_ == candidates_.size()) {
            for (std::size_t i = 1; i < count_; ++i) candidates_[i - 1] = candidates_[i];
            --count_;
        }
        candidates_[count_++] = a;
    }

    double median_candidate() const {
        std::array<double, 5> s = candidates_;
        // Insertion sort of the few candidates, ascending.
        for (std::size_t i = 1; i < count_; ++i) {
            const double v = s[i];
            std::size_t j = i;
            while (j > 0 && v < s[j - 1]) {
                s[j] = s[j - 1];
                --j;
            }
            s[j] = v;
        }
        if (count_ % 2 == 1) return s[count_ / 2];
        return midpoint(s[count_ / 2 - 1], s[count_ / 2]);
    }

    core::RollingWindow errors_;
    std::optional<double> previous_;
    double l0_ = 0.0, l1_ = 0.0, l2_ = 0.0, l3_ = 0.0;
    double alpha_ = 1.0;
    std::array<double, 5> candidates_{};  // oldest first
    std::size_t count_ = 0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AdaptiveLaguerreFilter(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "AdaptiveLaguerreFilter"));
    return box_kind<kinds::AdaptiveLaguerreFilter>("AdaptiveLaguerreFilter", core::RollingWindow::make(period));
}

}  // namespace ostrel::catalogue
