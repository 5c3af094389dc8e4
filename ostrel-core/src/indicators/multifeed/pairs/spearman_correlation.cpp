#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/core/anchored_pair_sums.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Spearman's rank correlation of the window: each series is ranked by sorting
// (ties share their average 1-based rank), then the Pearson correlation of the two
// rank lists is taken with population moments; 0 when either has no spread.
class SpearmanCorrelation final : public Indicator {
public:
    static Expected<SpearmanCorrelation, IndicatorError> make(std::size_t period) {
        if (auto e = core::check_min_period(period, 2, "spearman correlation needs period >= 2")) return *e;
        return SpearmanCorrelation(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        window_.push(*in);
        if (!window_.full()) return std::nullopt;
        const std::size_t n = window_.size();
        if (values_.size() != n) {
            // Sized when the window first fills: a window that never fills costs none.
            values_.resize(n);
            order_.resize(n);
            rank_x_.resize(n);
            rank_y_.resize(n);
        }
        for (std::size_t i = 0; i < n; ++i) values_[i] = window_[i].x;
        rank(rank_x_);
        for (std::size_t i = 0; i < n; ++i) values_[i] = window_[i].y;
        rank(rank_y_);
        const double count = static_cast<double>(n);
        double sum_x = 0.0, sum_y = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            sum_x = sum_x + rank_x_[i];
            sum_y = sum_y + rank_y_[i];
        }
        const double mean_x = sum_x / count;
        const double mean_y = sum_y / count;
        double sxx = 0.0, syy = 0.0, sxy = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            const double dx = rank_x_[i] - mean_x;
            const double dy = rank_y_[i] - mean_y;
            sxx = sxx + dx * dx;
            syy = syy + dy * dy;
            sxy = sxy + dx * dy;
        }
        const double p = (sxx / count) * (syy / count);
        if (p == 0.0) return 0.0;
        return core::clamp_unit((sxy / count) / std::sqrt(p));
    }
    std::size_t warmup_period() const override { return window_.capacity(); }

private:
    explicit SpearmanCorrelation(std::size_t period)
        : window_(period) {}

    // Ranks values_ (window order) into out: sorted ascending, a run of equal
    // values from sorted position i to j gives each member (i + 1 + j + 1) / 2.
    void rank(std::vector<double>& out) {
        const std::size_t n = values_.size();
        for (std::size_t i = 0; i < n; ++i) order_[i] = i;
        std::sort(order_.begin(), order_.end(),
                  [&](std::size_t a, std::size_t b) { return values_[a] < values_[b]; });
        std::size_t i = 0;
        while (i < n) {
            std::size_t j = i;
            while (j + 1 < n && values_[order_[j + 1]] == values_[order_[i]]) ++j;
            const double r = static_cast<double>(i + 1 + j + 1) / 2.0;
            for (std::size_t k = i; k <= j; ++k) out[order_[k]] = r;
            i = j + 1;
        }
    }

    core::Ring<core::PairInput> window_;
    std::vector<double> values_;
    std::vector<std::size_t> order_;
    std::vector<double> rank_x_;
    std::vector<double> rank_y_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SpearmanCorrelation(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "SpearmanCorrelation"));
    return box_kind<kinds::SpearmanCorrelation>("SpearmanCorrelation", kinds::SpearmanCorrelation::make(period));
}

}  // namespace ostrel::catalogue
