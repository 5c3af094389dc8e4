#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/range_volatility.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::kinds {

// Yang-Zhang volatility: the sample variances of the overnight returns ln(O / previous
// close) and of the open-to-close returns ln(C / O), blended with the mean
// Rogers-Satchell term by the weight k = 0.34 / (1.34 + (n + 1) / (n - 1)).
class YangZhangVolatility final : public Indicator {
public:
    static Expected<YangZhangVolatility, IndicatorError> make(std::size_t period, std::size_t annualization) {
        if (period == 0 || annualization == 0) return IndicatorError::zero_period();
        if (period < 2) return IndicatorError::invalid_period("Yang-Zhang period must be >= 2");
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return YangZhangVolatility(period, annualization);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (!prev_close_) {
            prev_close_ = c->close;
            return std::nullopt;
        }
        double o = std::log(c->open / *prev_close_);
        double oc = std::log(c->close / c->open);
        double r = core::rogers_satchell_term(*c);
        prev_close_ = c->close;
        if (overnight_.values.full()) {
            overnight_.remove_oldest();
            open_close_.remove_oldest();
            rs_sum_ = rs_sum_ - rs_.oldest();
        }
        overnight_.append(o);
        open_close_.append(oc);
        if (++pushes_since_anchor_ == period_) {
            overnight_.reanchor();
            open_close_.reanchor();
            pushes_since_anchor_ = 0;
        }
        rs_.push(r);
        rs_run_.push(r);
        rs_sum_ = r + rs_sum_;
        // This sum is never re-summed on a schedule; a non-finite term (a zero open or
        // low) would otherwise poison it for the rest of the run. Recomputing it only
        // while it is not finite leaves every finite case untouched.
        if (!std::isfinite(rs_sum_)) {
            double s = 0.0;
            rs_.for_each([&](double v) { s = s + v; });
            rs_sum_ = s;
        }
        if (!overnight_.values.full()) return std::nullopt;
        const double n = static_cast<double>(period_);
        double var_o = overnight_.sample_variance(n);
        double var_c = open_close_.sample_variance(n);
        // A window of zero Rogers-Satchell terms (flat candles) has a mean of exactly 0;
        // the running sum, never re-summed, keeps the residue of the terms that left.
        double rs = rs_run_.covers(period_) ? 0.0 : rs_sum_ / n;
        double rs_pos = core::not_below_zero(rs);
        double sigma2 = (var_o + k_ * var_c) + rs_pos * (1.0 - k_);
        if (sigma2 < 0.0) sigma2 = 0.0;
        return std::sqrt(sigma2) * std::sqrt(static_cast<double>(annualization_)) * 100.0;
    }
    std::size_t warmup_period() const override { return period_ + 1; }

private:
    // A window with running sums of (x - K) and (x - K)^2 about an anchor K: the
    // first value, then the window mean at each re-anchoring.
    struct AnchoredWindow {
        explicit AnchoredWindow(std::size_t period) : values(period) {}

        void remove_oldest() {
            double d = values.oldest() - anchor;
            s1 = s1 - d;
            s2 = s2 - d * d;
        }
        void append(double x) {
            values.push(x);
            run.push(x);
            if (!anchor_set) {
                anchor = x;
                anchor_set = true;
            }
            double d = x - anchor;
            s1 = s1 + d;
            s2 = s2 + d * d;
        }
        void reanchor() {
            anchor = core::mean_oldest_first(values);
            double a = 0.0, b = 0.0;
            values.for_each([&](double v) {
                double d = v - anchor;
                a = a + d;
                b = b + d * d;
            });
            s1 = a;
            s2 = b;
        }
        // max(0, fma(m * (-m), n, S2) / (n - 1)) with m = S1 / n; exactly 0 for a
        // window of equal finite returns.
        double sample_variance(double n) const {
            if (run.covers(values.capacity()) && std::isfinite(run.last())) return 0.0;
            double m = s1 / n;
            double v = std::fma(m * (-m), n, s2) / (n - 1.0);
            return v < 0.0 ? 0.0 : v;
        }

        core::Ring<double> values;
        double anchor = 0.0;
        double s1 = 0.0;
        double s2 = 0.0;
        bool anchor_set = false;
        core::EqualRun run;
    };

    YangZhangVolatility(std::size_t period, std::size_t annualization)
        : overnight_(period), open_close_(period), rs_(period), period_(period), annualization_(annualization) {
        const double n = static_cast<double>(period);
        k_ = 0.34 / ((n + 1.0) / (n - 1.0) + 1.34);
    }

    std::optional<double> prev_close_;
    AnchoredWindow overnight_;
    AnchoredWindow open_close_;
    core::Ring<double> rs_;
    double rs_sum_ = 0.0;
    core::ZeroRun rs_run_;
    std::size_t pushes_since_anchor_ = 0;
    std::size_t period_;
    std::size_t annualization_;
    double k_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_YangZhangVolatility(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "YangZhangVolatility"));
    OSTREL_TRY(annualization, param_usize(p, 1, "YangZhangVolatility"));
    return box_kind<kinds::YangZhangVolatility>("YangZhangVolatility",
                                                kinds::YangZhangVolatility::make(period, annualization));
}

}  // namespace ostrel::catalogue
