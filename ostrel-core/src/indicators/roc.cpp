#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/lag_window.hpp"
#include "indicators/roc.hpp"

namespace ostrel::kinds {

// Rate of change in percent against the close `period` bars back (0 for a zero base).
class Roc final : public Indicator {
public:
    explicit Roc(core::LagWindow w) : w_(std::move(w)) {}
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
    static double value(double close, double old) { return core::roc(close, old); }
    core::LagWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Roc(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Roc"));
    return box_kind<kinds::Roc>("Roc", core::LagWindow::make(period));
}

}  // namespace ostrel::catalogue
