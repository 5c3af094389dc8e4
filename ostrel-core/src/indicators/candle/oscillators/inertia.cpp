#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/linreg.hpp"
#include "indicators/core/rvi_volatility.hpp"

namespace ostrel::kinds {

// Inertia: the least-squares line of the relative volatility index of the close,
// evaluated at the newest point.
class Inertia final : public Indicator {
public:
    static Expected<Inertia, IndicatorError> make(std::size_t rvi_period, std::size_t regression_period) {
        if (rvi_period == 0 || regression_period == 0) return IndicatorError::zero_period();
        OSTREL_TRY(rvi, core::RviVolatility::make(rvi_period));
        OSTREL_TRY(line, core::RegressionWindow::make(regression_period, "linear regression needs period >= 2"));
        return Inertia(std::move(rvi), std::move(line));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto v = rvi_.step(c->close);
        if (!v) return std::nullopt;
        return line_.step(*v);
    }
    std::size_t warmup_period() const override { return line_.period() + 2 * rvi_.period() - 2; }

private:
    Inertia(core::RviVolatility rvi, core::RegressionWindow line) : rvi_(std::move(rvi)), line_(std::move(line)) {}

    core::RviVolatility rvi_;
    core::RegressionWindow line_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Inertia(std::span<const double> p) {
    OSTREL_TRY(rvi_period, param_usize(p, 0, "Inertia"));
    OSTREL_TRY(regression_period, param_usize(p, 1, "Inertia"));
    return box_kind<kinds::Inertia>("Inertia", kinds::Inertia::make(rvi_period, regression_period));
}

}  // namespace ostrel::catalogue
