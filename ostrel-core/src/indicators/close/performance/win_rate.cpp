#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Fraction of the window's values that are gains (above 0).
class WinRate final : public Indicator {
public:
    static Expected<WinRate, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return WinRate(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        if (window_.full() && window_.oldest() > 0.0) --wins_;
        window_.push(x);
        if (x > 0.0) ++wins_;
        if (!window_.full()) return std::nullopt;
        return static_cast<double>(wins_) / static_cast<double>(period_);
    }
    std::size_t warmup_period() const override { return period_; }

private:
    explicit WinRate(std::size_t period) : window_(period), period_(period) {}
    core::Ring<double> window_;
    std::size_t period_;
    std::size_t wins_ = 0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_WinRate(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "WinRate"));
    return box_kind<kinds::WinRate>("WinRate", kinds::WinRate::make(period));
}

}  // namespace ostrel::catalogue
