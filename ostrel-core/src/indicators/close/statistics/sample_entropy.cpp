#include <cmath>
#include <cstdint>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Sample entropy of the last `period` closes: template pairs of length m that match
// within r = sd * r_factor (B), and those that still match at length m + 1 (A).
class SampleEntropy final : public Indicator {
public:
    static Expected<SampleEntropy, IndicatorError> make(std::size_t period, std::size_t m, double r_factor) {
        if (period == 0 || m == 0) return IndicatorError::zero_period();
        if (period < 2 || m > period - 2) return IndicatorError::invalid_period("sample entropy needs period >= m + 2");
        if (!std::isfinite(r_factor) || !(r_factor > 0.0))
            return IndicatorError::invalid_parameter("sample entropy r_factor must be finite and positive");
        // Refuse lengths beyond the common maximum like every window.
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return SampleEntropy(period, m, r_factor);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (std::isfinite(x)) run_.push(x);
        if (!core::push_finite(window_, x)) return std::nullopt;
        scratch_.reserve(period_);  // once, when the window first fills
        // A window of equal closes has a variance of 0: 0, not the count of matches
        // within a tolerance made of the rounded mean's residue.
        if (run_.covers(period_)) {
            last_ = 0.0;
            return 0.0;
        }
        scratch_.clear();
        window_.for_each([&](double v) { scratch_.push_back(v); });
        const std::vector<double>& s = scratch_;
        const double n = static_cast<double>(period_);
        double sum = 0.0;
        for (double v : s) sum = sum + v;
        double mean = sum / n;
        double ss = 0.0;
        for (double v : s) {
            double d = v - mean;
            ss = ss + d * d;
        }
        double var = ss / n;
        if (!(var > 0.0)) var = 0.0;
        double value = 0.0;
        if (var != 0.0) {
            double r = std::sqrt(var) * r_factor_;
            std::uint64_t a = 0, b = 0;
            count_matches(s, m_, r, a, b);
            if (b == 0) {
                value = 0.0;
            } else if (a == 0) {
                value = std::log(static_cast<double>(b));
            } else {
                value = -std::log(static_cast<double>(a) / static_cast<double>(b));
            }
        }
        last_ = value;
        return value;
    }
    std::size_t warmup_period() const override { return period_; }

private:
    // The pairs of templates of length m that match within r (b), and those that
    // still match at length m + 1 (a). Its own function, aligned, so that the tight
    // inner loop does not land across a fetch boundary by the chance of what the
    // surrounding update compiles to.
    [[gnu::noinline, gnu::aligned(64)]] static void count_matches(const std::vector<double>& s, std::size_t m,
                                                                  double r, std::uint64_t& a, std::uint64_t& b) {
        const std::size_t templates = s.size() - m;
        for (std::size_t i = 0; i < templates; ++i) {
            for (std::size_t j = i + 1; j < templates; ++j) {
                std::size_t k = 0;
                while (k < m && std::fabs(s[i + k] - s[j + k]) <= r) ++k;
                if (k < m) continue;
                ++b;
                if (std::fabs(s[i + m] - s[j + m]) <= r) ++a;
            }
        }
    }

    SampleEntropy(std::size_t period, std::size_t m, double r_factor)
        : window_(period), period_(period), m_(m), r_factor_(r_factor) {}

    std::optional<double> last_;
    core::Ring<double> window_;
    core::EqualRun run_;
    std::vector<double> scratch_;
    std::size_t period_;
    std::size_t m_;
    double r_factor_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SampleEntropy(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "SampleEntropy"));
    OSTREL_TRY(m, param_usize(p, 1, "SampleEntropy"));
    OSTREL_TRY(r_factor, param_f64(p, 2, "SampleEntropy"));
    return box_kind<kinds::SampleEntropy>("SampleEntropy", kinds::SampleEntropy::make(period, m, r_factor));
}

}  // namespace ostrel::catalogue
