#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/lag_window.hpp"

namespace ostrel::kinds {

// Rate of change as a fraction of the close `period` bars back (0 for a zero base).
class Rocp final : public Indicator {
public:
    explicit Rocp(core::LagWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        const auto old = w_.push(close);
        if (!old) return std::nullopt;
        w_.last = value(close, *old);
        return w_.last;
    }
    std::size_t warmup_period() const override { return w_.period() + 1; }

private:
    static double value(double close, double old) { return old == 0.0 ? 0.0 : (close - old) / old; }
    core::LagWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Rocp(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Rocp"));
    return box_kind<kinds::Rocp>("Rocp", core::LagWindow::make(period));
}

}  // namespace ostrel::catalogue
