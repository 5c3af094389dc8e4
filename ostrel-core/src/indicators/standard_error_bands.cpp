#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/lin_reg_channel.hpp"

namespace ostrel::kinds {

// Standard-error bands of the close: the fitted line at the newest point plus and
// minus a multiple of the standard error of the estimate, sqrt(ssr / (n - 2)). Reads
// only the close.
class StandardErrorBands final : public Indicator {
public:
    static Expected<core::RegressionChannel, IndicatorError> make(std::size_t period, double multiplier) {
        return core::RegressionChannel::make(period, multiplier, 3, "standard error bands need period >= 3");
    }
    explicit StandardErrorBands(core::RegressionChannel s)
        : s_(std::move(s)), outputs_({"upper", "middle", "lower"}) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        auto fit = s_.step(f.candle.close);
        if (!fit) return std::nullopt;
        double se = std::sqrt(fit->ssr / (static_cast<double>(s_.period()) - 2.0));
        double w = se * s_.multiplier();
        outputs_.store({fit->middle + w, fit->middle, fit->middle - w});
        return fit->middle + w;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return s_.period(); }

private:
    core::RegressionChannel s_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_StandardErrorBands(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "StandardErrorBands"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "StandardErrorBands"));
    return box_kind<kinds::StandardErrorBands>("StandardErrorBands",
                                               kinds::StandardErrorBands::make(period, multiplier));
}

}  // namespace ostrel::catalogue
