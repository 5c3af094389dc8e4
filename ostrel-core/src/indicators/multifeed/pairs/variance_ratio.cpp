#include <cstddef>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Lo-MacKinlay variance ratio of the spread x - y: the variance of overlapping
// q-step changes over q times the variance of one-step changes; 1 when the
// one-step changes do not vary.
class VarianceRatio final : public Indicator {
public:
    static Expected<VarianceRatio, IndicatorError> make(std::size_t period, std::size_t q) {
        if (q < 2) return IndicatorError::invalid_period("variance ratio needs q >= 2");
        if (q > MAX_PERIOD) return IndicatorError::too_long();
        if (period < q + 2) return IndicatorError::invalid_period("variance ratio needs period >= q + 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return VarianceRatio(period, q);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        window_.push(in->x - in->y);
        if (!window_.full()) return std::nullopt;
        const std::size_t m = window_.size() - 1;
        diffs_.resize(m);  // once, when the window first fills
        const double md = static_cast<double>(m);
        double sum = 0.0;
        for (std::size_t i = 0; i < m; ++i) {
            diffs_[i] = window_[i + 1] - window_[i];
            sum = sum + diffs_[i];
        }
        const double mu = sum / md;
        double ss = 0.0;
        for (std::size_t i = 0; i < m; ++i) {
            const double d = diffs_[i] - mu;
            ss = ss + d * d;
        }
        const double var1 = ss / md;
        if (var1 <= 0.0) return 1.0;
        const double qd = static_cast<double>(q_);
        const std::size_t blocks = m - q_ + 1;
        double ssq = 0.0;
        for (std::size_t j = 0; j < blocks; ++j) {
            double b = diffs_[j];
            for (std::size_t i = 1; i < q_; ++i) b = b + diffs_[j + i];
            const double d = b - qd * mu;
            ssq = ssq + d * d;
        }
        const double varq = ssq / static_cast<double>(blocks);
        return varq / (qd * var1);
    }
    std::size_t warmup_period() const override { return window_.capacity(); }

private:
    VarianceRatio(std::size_t period, std::size_t q) : window_(period), q_(q) {}

    core::Ring<double> window_;
    std::vector<double> diffs_;
    std::size_t q_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_VarianceRatio(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "VarianceRatio"));
    OSTREL_TRY(q, param_usize(p, 1, "VarianceRatio"));
    return box_kind<kinds::VarianceRatio>("VarianceRatio", kinds::VarianceRatio::make(period, q));
}

}  // namespace ostrel::catalogue
