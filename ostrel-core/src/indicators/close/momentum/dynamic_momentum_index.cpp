#include <algorithm>
#include <cmath>
#include <cstdint>

#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/sma.hpp"
#include "indicators/core/std_dev.hpp"

namespace ostrel::kinds {

// Dynamic momentum index: an up/down balance over the last n one-bar changes, where
// n = period / (5-close deviation / its 10-value average) shrinks as volatility
// rises (at least 5, at most the 30 changes kept).
class DynamicMomentumIndex final : public Indicator {
public:
    static Expected<DynamicMomentumIndex, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return DynamicMomentumIndex(period);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        if (const auto s = deviation_.step(close)) {
            last_deviation_ = s;
            last_average_ = average_.step(*s);
        }
        if (prev_close_) changes_.push(close - *prev_close_);
        prev_close_ = close;
        if (!last_deviation_ || !last_average_ || !changes_.full()) return std::nullopt;

        const double s = *last_deviation_;
        const double a = *last_average_;
        std::size_t skip = 0;
        if (s > 0.0 && a > 0.0) {
            const std::uint64_t n = std::max<std::uint64_t>(rounded_length(static_cast<double>(period_) / (s / a)), 5);
            if (n <= kChanges) skip = kChanges - n;
        }
        double up = 0.0;
        double down = 0.0;
        // Adding +0 for the changes a sum skips leaves it bit for bit as it was (the
        // sums start at +0 and never become -0), and avoids a branch per change.
        for (std::size_t i = skip; i < kChanges; ++i) {
            const double c = changes_[i];
            up = up + (c > 0.0 ? c : 0.0);
            down = down + (c < 0.0 ? -c : 0.0);
        }
        const double total = up + down;
        if (total == 0.0) return 50.0;
        return (up / total) * 100.0;
    }
    std::size_t warmup_period() const override { return 31; }

private:
    static constexpr std::size_t kChanges = 30;

    explicit DynamicMomentumIndex(std::size_t period)
        : deviation_(*core::StdDev::make(5)), average_(*core::Sma::make(10)), changes_(kChanges), period_(period) {}

    // Nearest whole number, halves away from zero, saturating at the largest size
    // (and at 0 below it); the ratio is positive here, or +infinity.
    static std::uint64_t rounded_length(double x) {
        const double r = std::round(x);
        if (!(r >= 0.0)) return 0;
        if (r >= 18446744073709551616.0) return UINT64_MAX;
        return static_cast<std::uint64_t>(r);
    }

    core::StdDev deviation_;
    std::optional<double> last_deviation_;
    core::Sma average_;
    std::optional<double> last_average_;
    std::optional<double> prev_close_;
    core::Ring<double> changes_;
    std::size_t period_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_DynamicMomentumIndex(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "DynamicMomentumIndex"));
    return box_kind<kinds::DynamicMomentumIndex>("DynamicMomentumIndex", kinds::DynamicMomentumIndex::make(period));
}

}  // namespace ostrel::catalogue
