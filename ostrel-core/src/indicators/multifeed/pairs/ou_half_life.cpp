#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/spread_ar1_fit.hpp"

namespace ostrel::kinds {

// Ornstein-Uhlenbeck half-life of the spread x - y: with b the slope of the spread's
// change on its level over the window, -ln 2 / b when b < 0 (mean reversion), else 0.
class OuHalfLife final : public Indicator {
public:
    static Expected<OuHalfLife, IndicatorError> make(std::size_t period) {
        if (auto e = core::check_min_period(period, 3, "OU half-life needs period >= 3")) return *e;
        return OuHalfLife(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        window_.push(in->x - in->y);
        if (!window_.full()) return std::nullopt;
        const auto b = core::spread_ar1_slope(window_, true);
        if (!b || *b >= 0.0) return 0.0;
        return -0.6931471805599453 / *b;
    }
    std::size_t warmup_period() const override { return window_.capacity(); }

private:
    explicit OuHalfLife(std::size_t period) : window_(period) {}

    core::Ring<double> window_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_OuHalfLife(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "OuHalfLife"));
    return box_kind<kinds::OuHalfLife>("OuHalfLife", kinds::OuHalfLife::make(period));
}

}  // namespace ostrel::catalogue
