#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/core/anchored_pair_sums.hpp"
#include "indicators/core/dense_solve.hpp"
#include "indicators/feed_access.hpp"

namespace ostrel::kinds {

// Engle-Granger test on the window: the hedge regression of the close on the
// reference, then an augmented Dickey-Fuller regression (no constant, `adf_lags`
// lagged differences) on its residuals; "adf_stat" is the t-statistic of the
// lagged residual level.
class Cointegration final : public Indicator {
public:
    static Expected<Cointegration, IndicatorError> make(std::size_t period, std::size_t adf_lags) {
        // 2 x adf_lags + 4 is compared without wrapping: a lag count that large
        // needs a window no size can reach.
        if (adf_lags > (SIZE_MAX - 4) / 2 || period < 2 * adf_lags + 4)
            return IndicatorError::invalid_period("cointegration needs period >= 2*adf_lags + 4");
        // The window and residual buffers hold `period` values and the normal
        // equations (adf_lags + 1)^2; both stay bounded.
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        const std::size_t k = adf_lags + 1;
        if (k * k > MAX_PERIOD) return IndicatorError::too_long();
        return Cointegration(period, adf_lags);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        sums_.push(in->x, in->y);
        if (!sums_.full()) return std::nullopt;
        const auto fit = sums_.line();
        const double beta = fit.slope;
        const double alpha = fit.intercept;
        const std::size_t n = sums_.period();
        if (resid_.size() != n) {
            // Sized when the window first fills: a window that never fills costs none.
            const std::size_t k = k_;
            resid_.resize(n);
            diff_.resize(n);
            row_.resize(k);
            xtx_.resize(k * k);
            xty_.resize(k);
            work_.resize(k * k);
            rhs_.resize(k);
            coef_.resize(k);
            inv_col_.resize(k);
        }
        const auto& w = sums_.window();
        for (std::size_t i = 0; i < n; ++i) resid_[i] = w[i].u - (alpha + beta * w[i].v);
        const double spread = resid_[n - 1];
        const double adf = adf_stat();
        outputs_.store({beta, spread, adf});
        return beta;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return sums_.period(); }

private:
    Cointegration(std::size_t period, std::size_t adf_lags)
        : sums_(period), lags_(adf_lags), k_(adf_lags + 1) {}

    // The regressors of row t: (e(t-1), d(t-1), .., d(t-p)).
    void fill_row(std::size_t t) {
        row_[0] = resid_[t - 1];
        for (std::size_t j = 1; j <= lags_; ++j) row_[j] = diff_[t - j];
    }

    double adf_stat() {
        const std::size_t n = sums_.period();
        const std::size_t k = k_;
        if (n <= k || n - k <= k) return 0.0;
        const std::size_t rows = n - k;
        for (std::size_t j = 1; j < n; ++j) diff_[j] = resid_[j] - resid_[j - 1];
        for (double& v : xtx_) v = 0.0;
        for (double& v : xty_) v = 0.0;
        for (std::size_t t = k; t < n; ++t) {
            fill_row(t);
            const double dep = diff_[t];
            for (std::size_t i = 0; i < k; ++i) {
                for (std::size_t j = 0; j < k; ++j) xtx_[i * k + j] = xtx_[i * k + j] + row_[i] * row_[j];
                xty_[i] = xty_[i] + row_[i] * dep;
            }
        }
        work_ = xtx_;
        rhs_ = xty_;
        if (!core::solve_in_place(work_.data(), rhs_.data(), k, coef_.data())) return 0.0;
        double ssr = 0.0;
        for (std::size_t t = k; t < n; ++t) {
            fill_row(t);
            double fit = 0.0;
            for (std::size_t j = 0; j < k; ++j) fit = fit + row_[j] * coef_[j];
            const double r = diff_[t] - fit;
            ssr = ssr + r * r;
        }
        const double s2 = ssr / static_cast<double>(rows - k);
        // First column of (X'X)^-1, from the same matrix.
        work_ = xtx_;
        for (std::size_t i = 0; i < k; ++i) rhs_[i] = i == 0 ? 1.0 : 0.0;
        if (!core::solve_in_place(work_.data(), rhs_.data(), k, inv_col_.data())) return 0.0;
        const double v = s2 * inv_col_[0];
        if (v <= 0.0) return 0.0;
        return coef_[0] / std::sqrt(v);
    }

    core::AnchoredPairSums sums_;
    std::size_t lags_;
    std::size_t k_;
    std::vector<double> resid_;
    std::vector<double> diff_;  // diff_[j] = e(j) - e(j-1), from j = 1
    std::vector<double> row_;
    std::vector<double> xtx_;
    std::vector<double> xty_;
    std::vector<double> work_;
    std::vector<double> rhs_;
    std::vector<double> coef_;
    std::vector<double> inv_col_;
    OutputSlots<3> outputs_{{"hedge_ratio", "spread", "adf_stat"}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Cointegration(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Cointegration"));
    OSTREL_TRY(adf_lags, param_usize(p, 1, "Cointegration"));
    return box_kind<kinds::Cointegration>("Cointegration", kinds::Cointegration::make(period, adf_lags));
}

}  // namespace ostrel::catalogue
