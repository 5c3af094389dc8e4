#include "catalogue/params.hpp"
#include "indicators/core/macd_lines.hpp"

namespace ostrel::kinds {

// MACD of free periods (also built for the name "Macd"): seeded exponential
// averages with factors 2/(n+1); outputs "macd", "signal", "histogram".
class MacdIndicator final : public Indicator {
public:
    static Expected<MacdIndicator, IndicatorError> make(std::size_t fast, std::size_t slow, std::size_t signal) {
        if (fast == 0 || slow == 0 || signal == 0) return IndicatorError::zero_period();
        if (fast >= slow) return IndicatorError::invalid_period("fast period must be strictly less than slow period");
        if (fast > MAX_PERIOD || slow > MAX_PERIOD || signal > MAX_PERIOD) return IndicatorError::too_long();
        return MacdIndicator(core::MacdLines(*core::SeededEma::make(fast), *core::SeededEma::make(slow),
                                             *core::SeededEma::make(signal)));
    }
    std::optional<double> update(const FeedSnapshot& f) override { return lines_.update(f.candle.close); }
    std::span<const NamedOutput> outputs() const override { return lines_.outputs(); }
    std::size_t warmup_period() const override { return lines_.warmup_period(); }

private:
    explicit MacdIndicator(core::MacdLines lines) : lines_(lines) {}
    core::MacdLines lines_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MacdIndicator(std::span<const double> p) {
    OSTREL_TRY(fast, param_usize(p, 0, "MacdIndicator"));
    OSTREL_TRY(slow, param_usize(p, 1, "MacdIndicator"));
    OSTREL_TRY(signal, param_usize(p, 2, "MacdIndicator"));
    return box_kind<kinds::MacdIndicator>("MacdIndicator", kinds::MacdIndicator::make(fast, slow, signal));
}

}  // namespace ostrel::catalogue
