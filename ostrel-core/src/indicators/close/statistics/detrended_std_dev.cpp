#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/residual_window.hpp"

namespace ostrel::kinds {

// Spread of the residuals about the least-squares line, recomputed from the window.
class DetrendedStdDev final : public Indicator {
public:
    static Expected<core::ResidualWindow, IndicatorError> make(std::size_t period) {
        return core::ResidualWindow::make(period, 2, "detrended stddev needs period >= 2");
    }
    explicit DetrendedStdDev(core::ResidualWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!w_.push(f.candle.close)) return std::nullopt;
        const double n = static_cast<double>(w_.period());
        return std::sqrt(w_.sse() / n);
    }
    std::size_t warmup_period() const override { return w_.period(); }

private:
    core::ResidualWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_DetrendedStdDev(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "DetrendedStdDev"));
    return box_kind<kinds::DetrendedStdDev>("DetrendedStdDev", kinds::DetrendedStdDev::make(period));
}

}  // namespace ostrel::catalogue
