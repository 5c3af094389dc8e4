#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/quartile_bands.hpp"

namespace ostrel::kinds {

// Interquartile range of the last `period` closes (interpolated quartiles).
class RollingIqr final : public Indicator {
public:
    explicit RollingIqr(core::QuartileBands q) : q_(std::move(q)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!core::push_finite(q_, f.candle.close)) return std::nullopt;
        return q_.quantile(0.75) - q_.quantile(0.25);
    }
    std::size_t warmup_period() const override { return q_.period(); }

private:
    core::QuartileBands q_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RollingIqr(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "RollingIqr"));
    return box_kind<kinds::RollingIqr>("RollingIqr", core::QuartileBands::make(period));
}

}  // namespace ostrel::catalogue
