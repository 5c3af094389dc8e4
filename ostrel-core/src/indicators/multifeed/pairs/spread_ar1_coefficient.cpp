#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/spread_ar1_fit.hpp"

namespace ostrel::kinds {

// AR(1) coefficient of the spread x - y over the window: the slope of s(i+1) on
// s(i); 0 when the spread does not vary.
class SpreadAr1Coefficient final : public Indicator {
public:
    static Expected<SpreadAr1Coefficient, IndicatorError> make(std::size_t period) {
        if (auto e = core::check_min_period(period, 3, "AR(1) spread coefficient needs period >= 3")) return *e;
        return SpreadAr1Coefficient(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        window_.push(in->x - in->y);
        if (!window_.full()) return std::nullopt;
        return core::spread_ar1_slope(window_, false).value_or(0.0);
    }
    std::size_t warmup_period() const override { return window_.capacity(); }

private:
    explicit SpreadAr1Coefficient(std::size_t period) : window_(period) {}

    core::Ring<double> window_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SpreadAr1Coefficient(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "SpreadAr1Coefficient"));
    return box_kind<kinds::SpreadAr1Coefficient>("SpreadAr1Coefficient", kinds::SpreadAr1Coefficient::make(period));
}

}  // namespace ostrel::catalogue
