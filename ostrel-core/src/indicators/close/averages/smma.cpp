#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/seeded_window.hpp"

namespace ostrel::kinds {

// Wilder's smoothed average: seeded with the mean of the first `period` closes,
// then value = (close + value x (period - 1)) / period, unfused.
class Smma final : public Indicator {
public:
    explicit Smma(core::SeededWindow s) : w_(s) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        if (!w_.value) return w_.seed(close);
        const double n = static_cast<double>(w_.period);
        w_.value = (close + *w_.value * (n + -1.0)) / n;
        return w_.value;
    }
    std::size_t warmup_period() const override { return w_.period; }

private:
    core::SeededWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Smma(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Smma"));
    return box_kind<kinds::Smma>("Smma", core::SeededWindow::make(period));
}

}  // namespace ostrel::catalogue
