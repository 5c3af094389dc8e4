#include <algorithm>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/rsi.hpp"

namespace ostrel::kinds {

// Mean of an RSI of the close, an RSI of the up/down streak length and the percent
// rank of the newest one-bar return among the last `rank_period` returns.
class ConnorsRsi final : public Indicator {
public:
    static Expected<ConnorsRsi, IndicatorError> make(std::size_t rsi_period, std::size_t streak_period,
                                                     std::size_t rank_period) {
        if (rsi_period == 0 || streak_period == 0 || rank_period == 0) return IndicatorError::zero_period();
        OSTREL_TRY(price_rsi, core::Rsi::make(rsi_period));
        OSTREL_TRY(streak_rsi, core::Rsi::make(streak_period));
        // The rank window is reserved in full; refuse what no window may hold.
        if (rank_period > MAX_PERIOD) return IndicatorError::too_long();
        return ConnorsRsi(std::move(price_rsi), std::move(streak_rsi), rank_period);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        const auto r1 = price_rsi_.step(close);
        if (!prev_close_) {
            prev_close_ = close;
            return std::nullopt;
        }
        const double prev = *prev_close_;
        if (close > prev) {
            streak_ = std::max(streak_, 0.0) + 1.0;
        } else if (close < prev) {
            streak_ = std::min(streak_, 0.0) - 1.0;
        } else {
            streak_ = 0.0;
        }
        const auto r2 = streak_rsi_.step(streak_);
        if (prev != 0.0) returns_.push((close - prev) / prev);
        prev_close_ = close;
        if (returns_.size() < rank_period_) return std::nullopt;
        const double newest = returns_.newest();
        std::size_t below = 0;
        returns_.for_each([&](double v) {
            if (v < newest) ++below;
        });
        const double rank = static_cast<double>(below) * 100.0 / static_cast<double>(rank_period_);
        if (!r1 || !r2) return std::nullopt;
        return (*r1 + *r2 + rank) / 3.0;
    }
    std::size_t warmup_period() const override {
        return std::max({rsi_period_ + 1, streak_period_ + 2, rank_period_ + 1});
    }

private:
    ConnorsRsi(core::Rsi price_rsi, core::Rsi streak_rsi, std::size_t rank_period)
        : price_rsi_(std::move(price_rsi)),
          streak_rsi_(std::move(streak_rsi)),
          returns_(rank_period),
          rsi_period_(price_rsi_.period()),
          streak_period_(streak_rsi_.period()),
          rank_period_(rank_period) {}

    core::Rsi price_rsi_;
    core::Rsi streak_rsi_;
    std::optional<double> prev_close_;
    core::Ring<double> returns_;
    std::size_t rsi_period_;
    std::size_t streak_period_;
    std::size_t rank_period_;
    double streak_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ConnorsRsi(std::span<const double> p) {
    OSTREL_TRY(rsi_period, param_usize(p, 0, "ConnorsRsi"));
    OSTREL_TRY(streak_period, param_usize(p, 1, "ConnorsRsi"));
    OSTREL_TRY(rank_period, param_usize(p, 2, "ConnorsRsi"));
    return box_kind<kinds::ConnorsRsi>("ConnorsRsi", kinds::ConnorsRsi::make(rsi_period, streak_period, rank_period));
}

}  // namespace ostrel::catalogue
