#include <cstddef>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/core/dense_solve.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Granger F-statistic of whether `lag` past reference values help predict the
// close beyond its own `lag` past values, over the window; 0 when a fit fails.
class GrangerCausality final : public Indicator {
public:
    static Expected<GrangerCausality, IndicatorError> make(std::size_t period, std::size_t lag) {
        if (lag == 0) return IndicatorError::invalid_period("granger causality needs lag >= 1");
        if (lag > MAX_PERIOD) return IndicatorError::too_long();
        if (period < 3 * lag + 2) return IndicatorError::invalid_period("granger causality needs period >= 3*lag + 2");
        // The window of `period` pairs and the (2 lag + 1)^2 normal equations stay
        // bounded.
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        const std::size_t cols = 2 * lag + 1;
        if (cols * cols > MAX_PERIOD) return IndicatorError::too_long();
        return GrangerCausality(period, lag);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        window_.push(*in);
        if (!window_.full()) return std::nullopt;
        const std::size_t n = window_.size();
        if (xs_.size() != n) {
            // Sized when the window first fills: a window that never fills costs none.
            const std::size_t cols = 2 * lag_ + 1;
            xs_.resize(n);
            ys_.resize(n);
            row_.resize(cols);
            xtx_.resize(cols * cols);
            xty_.resize(cols);
            coef_.resize(cols);
        }
        for (std::size_t i = 0; i < n; ++i) {
            xs_[i] = window_[i].x;
            ys_[i] = window_[i].y;
        }
        const std::size_t p = lag_;
        // Exact answers the rounded fits cannot give. Closes or references that are all
        // equal where they serve as regressors (positions 0 .. n-2) make a column a
        // multiple of the intercept's: the design is singular, whatever pivot the
        // rounded elimination happens to find. Equal closes to be predicted (positions
        // p .. n-1) are fitted exactly by the intercept alone: both sums of squared
        // residuals are 0 and the statistic 0 / 0, where the fits leave two residues.
        if (core::all_equal(xs_, 0, n - 1) || core::all_equal(ys_, 0, n - 1) || core::all_equal(xs_, p, n))
            return 0.0;
        double ssr_r = 0.0, ssr_u = 0.0;
        if (!least_squares_ssr(1 + p, ssr_r) || !least_squares_ssr(1 + 2 * p, ssr_u)) return 0.0;
        const double pd = static_cast<double>(p);
        const double dof = static_cast<double>((n - p) - (2 * p + 1));
        const double fstat = ((ssr_r - ssr_u) / pd) / (ssr_u / dof);
        return fstat > 0.0 ? fstat : 0.0;  // a NaN statistic gives 0
    }
    std::size_t warmup_period() const override { return window_.capacity(); }

private:
    GrangerCausality(std::size_t period, std::size_t lag)
        : window_(period), lag_(lag) {}

    // Row t: (1, x(t-1), .., x(t-p)) and, with 2p + 1 columns, y(t-1), .., y(t-p).
    void fill_row(std::size_t t, std::size_t cols) {
        row_[0] = 1.0;
        for (std::size_t j = 1; j <= lag_; ++j) row_[j] = xs_[t - j];
        if (cols > 1 + lag_)
            for (std::size_t j = 1; j <= lag_; ++j) row_[lag_ + j] = ys_[t - j];
    }

    // Least-squares fit of x(t), t = p .. n-1, on the rows of `cols` columns through
    // the normal equations; the sum of squared residuals, or false when the solve
    // fails.
    bool least_squares_ssr(std::size_t cols, double& ssr) {
        const std::size_t n = xs_.size();
        for (std::size_t i = 0; i < cols * cols; ++i) xtx_[i] = 0.0;
        for (std::size_t i = 0; i < cols; ++i) xty_[i] = 0.0;
        for (std::size_t t = lag_; t < n; ++t) {
            fill_row(t, cols);
            for (std::size_t i = 0; i < cols; ++i) {
                for (std::size_t j = 0; j < cols; ++j) xtx_[i * cols + j] = xtx_[i * cols + j] + row_[i] * row_[j];
                xty_[i] = xty_[i] + row_[i] * xs_[t];
            }
        }
        if (!core::solve_in_place(xtx_.data(), xty_.data(), cols, coef_.data())) return false;
        double sum = 0.0;
        for (std::size_t t = lag_; t < n; ++t) {
            fill_row(t, cols);
            double fit = 0.0;
            for (std::size_t j = 0; j < cols; ++j) fit = fit + row_[j] * coef_[j];
            const double r = xs_[t] - fit;
            sum = sum + r * r;
        }
        ssr = sum;
        return true;
    }

    core::Ring<core::PairInput> window_;
    std::size_t lag_;
    std::vector<double> xs_;
    std::vector<double> ys_;
    std::vector<double> row_;
    std::vector<double> xtx_;
    std::vector<double> xty_;
    std::vector<double> coef_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_GrangerCausality(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "GrangerCausality"));
    OSTREL_TRY(lag, param_usize(p, 1, "GrangerCausality"));
    return box_kind<kinds::GrangerCausality>("GrangerCausality", kinds::GrangerCausality::make(period, lag));
}

}  // namespace ostrel::catalogue
