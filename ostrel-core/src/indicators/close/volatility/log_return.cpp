#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/lag_window.hpp"

namespace ostrel::kinds {

// ln(close / close `period` accepted closes back); closes that are not finite or not
// above 0 are refused.
class LogReturn final : public Indicator {
public:
    explicit LogReturn(core::LagWindow w) : lag_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        double p = f.candle.close;
        if (!std::isfinite(p) || !(p > 0.0)) return std::nullopt;
        auto base = lag_.push(p);
        if (!base) return std::nullopt;
        lag_.last = std::log(p / *base);
        return lag_.last;
    }
    std::size_t warmup_period() const override { return lag_.period() + 1; }

private:
    core::LagWindow lag_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_LogReturn(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "LogReturn"));
    return box_kind<kinds::LogReturn>("LogReturn", core::LagWindow::make(period));
}

}  // namespace ostrel::catalogue
