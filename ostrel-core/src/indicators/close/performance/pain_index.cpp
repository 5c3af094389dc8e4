#include "catalogue/params.hpp"
#include "indicators/core/rolling_window.hpp"

namespace ostrel::kinds {

// Mean fractional drawdown from the running peak over the last `period` levels;
// levels seen while the peak is not positive add nothing but count in the divisor.
class PainIndex final : public Indicator {
public:
    explicit PainIndex(core::RollingWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!w_.push_finite(f.candle.close)) return std::nullopt;
        double sum = 0.0;
        core::for_each_drawdown(w_.window, [&](double d) { sum = sum + d; });
        return sum / static_cast<double>(w_.period);
    }
    std::size_t warmup_period() const override { return w_.period; }

private:
    core::RollingWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_PainIndex(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "PainIndex"));
    return box_kind<kinds::PainIndex>("PainIndex", core::RollingWindow::make(period));
}

}  // namespace ostrel::catalogue
