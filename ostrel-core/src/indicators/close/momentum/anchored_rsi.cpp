#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/log_return_step.hpp"

namespace ostrel::kinds {

// RSI over every close since the first, from plain sums of the up and down moves.
class AnchoredRsi final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        const auto prev = prev_close_.step(close);
        if (!prev) return std::nullopt;
        const double change = close - *prev;
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
    core::PreviousClose prev_close_;
    double sum_up_ = 0.0;
    double sum_down_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AnchoredRsi(std::span<const double>) { return box_kind(kinds::AnchoredRsi()); }

}  // namespace ostrel::catalogue
