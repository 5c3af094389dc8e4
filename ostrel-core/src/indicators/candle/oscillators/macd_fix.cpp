#include "catalogue/params.hpp"
#include "indicators/core/macd_lines.hpp"

namespace ostrel::kinds {

// MACD with the fixed factors 0.15 (12 closes) and 0.075 (26 closes) and a free
// signal period; the same state and update as MacdIndicator.
class MacdFix final : public Indicator {
public:
    static Expected<MacdFix, IndicatorError> make(std::size_t signal) {
        OSTREL_TRY(sig, core::SeededEma::make(signal));
        return MacdFix(core::MacdLines(core::SeededEma::with_factors(12, 0.15, 0.85),
                                       core::SeededEma::with_factors(26, 0.075, 0.925), sig));
    }
    std::optional<double> update(const FeedSnapshot& f) override { return lines_.update(f.candle.close); }
    std::span<const NamedOutput> outputs() const override { return lines_.outputs(); }
    std::size_t warmup_period() const override { return lines_.warmup_period(); }

private:
    explicit MacdFix(core::MacdLines lines) : lines_(lines) {}
    core::MacdLines lines_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MacdFix(std::span<const double> p) {
    OSTREL_TRY(signal, param_usize(p, 0, "MacdFix"));
    return box_kind<kinds::MacdFix>("MacdFix", kinds::MacdFix::make(signal));
}

}  // namespace ostrel::catalogue
