#include "catalogue/params.hpp"
#include "indicators/core/zlema.hpp"

namespace ostrel::kinds {

// MACD of zero-lag exponential averages, with a zero-lag signal line.
class ZeroLagMacd final : public Indicator {
public:
    static Expected<ZeroLagMacd, IndicatorError> make(std::size_t fast, std::size_t slow, std::size_t signal) {
        if (fast == 0 || slow == 0 || signal == 0) return IndicatorError::zero_period();
        if (fast >= slow) return IndicatorError::invalid_period("ZeroLagMACD fast period must be strictly less than slow");
        if (fast > MAX_PERIOD || slow > MAX_PERIOD || signal > MAX_PERIOD) return IndicatorError::too_long();
        return ZeroLagMacd(*core::Zlema::make(fast), *core::Zlema::make(slow), *core::Zlema::make(signal));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto fast = fast_.step(f.candle.close);
        auto slow = slow_.step(f.candle.close);
        if (!fast || !slow) return std::nullopt;
        double macd = *fast - *slow;
        auto signal = signal_.step(macd);
        if (!signal) return std::nullopt;
        outputs_.store({macd, *signal, macd - *signal});
        return macd;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override {
        const std::size_t s = slow_.period(), g = signal_.period();
        return (s + (s - 1) / 2) + (g + (g - 1) / 2) - 1;
    }

private:
    ZeroLagMacd(core::Zlema fast, core::Zlema slow, core::Zlema signal)
        : fast_(std::move(fast)), slow_(std::move(slow)), signal_(std::move(signal)),
          outputs_({"macd", "signal", "histogram"}) {}

    core::Zlema fast_;
    core::Zlema slow_;
    core::Zlema signal_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ZeroLagMacd(std::span<const double> p) {
    OSTREL_TRY(fast, param_usize(p, 0, "ZeroLagMacd"));
    OSTREL_TRY(slow, param_usize(p, 1, "ZeroLagMacd"));
    OSTREL_TRY(signal, param_usize(p, 2, "ZeroLagMacd"));
    return box_kind<kinds::ZeroLagMacd>("ZeroLagMacd", kinds::ZeroLagMacd::make(fast, slow, signal));
}

}  // namespace ostrel::catalogue
