#include <cmath>

#include "catalogue/params.hpp"

namespace ostrel::kinds {

// RSI over every close since the first, from plain sums of the up and down moves.
class AnchoredRsi final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        if (!prev_close_) {
            prev_close_ = close;
            return std::nullopt;
        }
        const double change = close - *prev_close_;
        prev_close_ = close;
        if (change > 0.0) {
            sum_up_ = sum_up_ + change;
        } else if (change < 0.0) {
            sum_down_ = sum_down_ - change;
        }
        if (sum_down_ == 0.0) return sum_up_ == 0.0 ? 50.0 : 100.0;
        return 100.0 - 100.0 / (sum_up_ / sum_down_ + 1.0);
    }
    std::size_t warmup_period() const override { return 2; }

private:
    std::optional<double> prev_close_;
    double sum_up_ = 0.0;
    double sum_down_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AnchoredRsi(std::span<const double>) { return box_kind(kinds::AnchoredRsi()); }

}  // namespace ostrel::catalogue
