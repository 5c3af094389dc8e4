#include <cmath>
#include <cstddef>

#include "catalogue/params.hpp"
#include "indicators/core/anchored_pair_sums.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// The cross-correlation of largest magnitude between `window` closes and
// `window` reference values shifted by -max_lag .. +max_lag bars (signed; the
// earlier lag wins a tie).
class LeadLagCrossCorrelation final : public Indicator {
public:
    static Expected<LeadLagCrossCorrelation, IndicatorError> make(std::size_t window, std::size_t max_lag) {
        if (auto e = core::check_min_period(window, 2, "lead-lag cross-correlation needs window >= 2")) return *e;
        if (max_lag == 0) return IndicatorError::invalid_period("lead-lag cross-correlation needs max_lag >= 1");
        // Both windows hold up to window + 2 x max_lag values.
        if (max_lag > MAX_PERIOD || window + 2 * max_lag > MAX_PERIOD) return IndicatorError::too_long();
        return LeadLagCrossCorrelation(window, max_lag);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        xs_.push(in->x);
        ys_.push(in->y);
        if (!xs_.full()) return std::nullopt;
        const std::size_t l = max_lag_;
        double best = corr(l, l);
        for (std::size_t k = 1; k <= l; ++k) {
            const double lead = corr(l, l - k);
            if (std::fabs(lead) > std::fabs(best)) best = lead;
            const double lag = corr(l, l + k);
            if (std::fabs(lag) > std::fabs(best)) best = lag;
        }
        outputs_.store({best});
        return best;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return xs_.capacity(); }

private:
    LeadLagCrossCorrelation(std::size_t window, std::size_t max_lag)
        : xs_(window + 2 * max_lag), ys_(window + 2 * max_lag), window_(window), max_lag_(max_lag) {}

    // Population correlation of the `window` x values from position i with the
    // `window` y values from position j (window positions, oldest = 0). A side whose
    // values are all equal has a variance of exactly 0, so the correlation is 0; its
    // mean need not come out as its value, and the deviations' residues would
    // otherwise correlate perfectly.
    double corr(std::size_t i, std::size_t j) const {
        const double n = static_cast<double>(window_);
        double sx = 0.0, sy = 0.0;
        bool flat_x = true, flat_y = true;
        for (std::size_t t = 0; t < window_; ++t) {
            sx = sx + xs_[i + t];
            sy = sy + ys_[j + t];
            flat_x = flat_x && xs_[i + t] == xs_[i];
            flat_y = flat_y && ys_[j + t] == ys_[j];
        }
        if (flat_x || flat_y) return 0.0;
        const double mx = sx / n;
        const double my = sy / n;
        double sxx = 0.0, syy = 0.0, sxy = 0.0;
        for (std::size_t t = 0; t < window_; ++t) {
            const double dx = xs_[i + t] - mx;
            const double dy = ys_[j + t] - my;
            sxx = sxx + dx * dx;
            syy = syy + dy * dy;
            sxy = sxy + dx * dy;
        }
        double vx = sxx / n;
        double vy = syy / n;
        if (!(vx > 0.0)) vx = 0.0;
        if (!(vy > 0.0)) vy = 0.0;
        const double p = vx * vy;
        if (p == 0.0) return 0.0;
        return core::clamp_unit((sxy / n) / std::sqrt(p));
    }

    core::Ring<double> xs_;
    core::Ring<double> ys_;
    std::size_t window_;
    std::size_t max_lag_;
    OutputSlots<1> outputs_{{"correlation"}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_LeadLagCrossCorrelation(std::span<const double> p) {
    OSTREL_TRY(window, param_usize(p, 0, "LeadLagCrossCorrelation"));
    OSTREL_TRY(max_lag, param_usize(p, 1, "LeadLagCrossCorrelation"));
    return box_kind<kinds::LeadLagCrossCorrelation>("LeadLagCrossCorrelation",
                                                    kinds::LeadLagCrossCorrelation::make(window, max_lag));
}

}  // namespace ostrel::catalogue
