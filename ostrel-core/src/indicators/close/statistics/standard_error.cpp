#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/residual_window.hpp"

namespace ostrel::kinds {

// Spread of the residuals about the least-squares line, recomputed from the window.
class StandardError final : public Indicator {
public:
    static Expected<core::ResidualWindow, IndicatorError> make(std::size_t period) {
        return core::ResidualWindow::make(period, 3, "standard error needs period >= 3");
    }
    explicit StandardError(core::ResidualWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!w_.push(f.candle.close)) return std::nullopt;
        const double n = static_cast<double>(w_.period());
        return std::sqrt(w_.sse() / (n - 2.0));
    }
    std::size_t warmup_period() const override { return w_.period(); }

private:
    core::ResidualWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_StandardError(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "StandardError"));
    return box_kind<kinds::StandardError>("StandardError", kinds::StandardError::make(period));
}

}  // namespace ostrel::catalogue
