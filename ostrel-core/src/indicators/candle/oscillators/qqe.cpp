#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rsi.hpp"
#include "indicators/core/seeded_ema.hpp"

namespace ostrel::kinds {

// Quantitative qualitative estimation: a smoothed RSI ("rsi_ma") and a trailing line
// at `factor` times the doubly smoothed absolute change of it ("trailing_line").
// Reads the close only; the inner RSI ignores a non-finite close.
class Qqe final : public Indicator {
public:
    static Expected<Qqe, IndicatorError> make(std::size_t rsi_period, std::size_t smoothing, double factor) {
        if (rsi_period == 0 || smoothing == 0) return IndicatorError::zero_period();
        if (!std::isfinite(factor) || !(factor > 0.0))
            return IndicatorError::invalid_period("QQE factor must be a finite positive value");
        OSTREL_TRY(rsi, core::Rsi::make(rsi_period));
        // rsi_period is at most MAX_PERIOD here, so 2 * rsi_period - 1 cannot wrap.
        if (smoothing > MAX_PERIOD || 2 * rsi_period - 1 > MAX_PERIOD) return IndicatorError::too_long();
        return Qqe(std::move(rsi), smoothing, factor);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto rsi = rsi_.step(f.candle.close);
        if (!rsi || !std::isfinite(*rsi)) return std::nullopt;
        auto smoothed = smooth_.step_fused(*rsi);
        if (!smoothed) return std::nullopt;
        const double sm = *smoothed;
        const double prev = prev_sm_ ? *prev_sm_ : sm;
        prev_sm_ = sm;
        const double change = sm - prev;
        if (!std::isfinite(change)) return std::nullopt;
        auto first = atr_rsi_.step_fused(std::fabs(change));
        if (!first || !std::isfinite(*first)) return std::nullopt;
        auto second = atr_rsi_smooth_.step_fused(*first);
        if (!second) return std::nullopt;
        const double dar = *second * factor_;
        const double new_long = sm - dar;
        const double new_short = sm + dar;
        double trailing;
        if (!has_lines_) {
            long_line_ = new_long;
            short_line_ = new_short;
            trend_ = 1;
            has_lines_ = true;
            trailing = new_long;
        } else {
            const double l = long_line_, s = short_line_;
            double lng = new_long;
            if (sm > l && prev > l) lng = l > new_long ? l : new_long;
            double sht = new_short;
            if (sm < s && prev < s) sht = s < new_short ? s : new_short;
            long_line_ = lng;
            short_line_ = sht;
            if (prev <= s && sm > s) {
                trend_ = 1;
                trailing = lng;
            } else if (prev >= l && sm < l) {
                trend_ = -1;
                trailing = sht;
            } else {
                trailing = trend_ == 1 ? lng : sht;
            }
        }
        outputs_.store({sm, trailing});
        return sm;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    // Kept as the catalogue states it, though the algorithm yields its first value
    // one update earlier: the warm-up reaches reports.
    std::size_t warmup_period() const override {
        const std::size_t r = rsi_.period();
        return r + smooth_.period() + 2 * (2 * r - 1) - 1;
    }

private:
    Qqe(core::Rsi rsi, std::size_t smoothing, double factor)
        : rsi_(std::move(rsi)),
          smooth_(*core::SeededEma::make(smoothing)),
          atr_rsi_(*core::SeededEma::make(2 * rsi_.period() - 1)),
          atr_rsi_smooth_(*core::SeededEma::make(2 * rsi_.period() - 1)),
          factor_(factor),
          outputs_({"rsi_ma", "trailing_line"}) {}

    core::Rsi rsi_;
    core::SeededEma smooth_;
    std::optional<double> prev_sm_;
    core::SeededEma atr_rsi_;
    core::SeededEma atr_rsi_smooth_;
    double factor_;
    bool has_lines_ = false;
    double long_line_ = 0.0;
    double short_line_ = 0.0;
    signed char trend_ = 1;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Qqe(std::span<const double> p) {
    OSTREL_TRY(rsi_period, param_usize(p, 0, "Qqe"));
    OSTREL_TRY(smoothing, param_usize(p, 1, "Qqe"));
    OSTREL_TRY(factor, param_f64(p, 2, "Qqe"));
    return box_kind<kinds::Qqe>("Qqe", kinds::Qqe::make(rsi_period, smoothing, factor));
}

}  // namespace ostrel::catalogue
