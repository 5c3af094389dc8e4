#include <cmath>
#include <limits>

#include "catalogue/params.hpp"

namespace ostrel::kinds {

// Return since the first level over the largest drawdown seen since then.
class RecoveryFactor final : public Indicator {
public:
    RecoveryFactor() = default;
    std::optional<double> update(const FeedSnapshot& f) override {
        double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        if (!started_) {
            first_ = x;
            peak_ = x;
            started_ = true;
        } else {
            if (x > peak_) peak_ = x;
            if (peak_ > 0.0) {
                double d = (peak_ - x) / peak_;
                if (d > worst_) worst_ = d;
            }
        }
        if (first_ == 0.0) return std::nullopt;
        if (worst_ == 0.0) return 0.0;
        return (x / first_ - 1.0) / worst_;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    double first_ = 0.0;
    double peak_ = -std::numeric_limits<double>::infinity();
    double worst_ = 0.0;
    bool started_ = false;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RecoveryFactor(std::span<const double>) { return box_kind(kinds::RecoveryFactor()); }

}  // namespace ostrel::catalogue
