#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_moments.hpp"

namespace ostrel::kinds {

// Distance of the close from the window mean in population standard deviations;
// 0 for a window without spread.
class ZScore final : public Indicator {
public:
    explicit ZScore(core::RollingMoments m) : m_(std::move(m)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        double x = f.candle.close;
        if (!m_.push(x)) return std::nullopt;
        double var = m_.variance();
        if (var == 0.0) return 0.0;
        return (x - m_.mean()) / std::sqrt(var);
    }
    std::size_t warmup_period() const override { return m_.period(); }

private:
    core::RollingMoments m_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ZScore(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "ZScore"));
    return box_kind<kinds::ZScore>("ZScore", core::RollingMoments::make(period));
}

}  // namespace ostrel::catalogue
