#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_moments.hpp"

namespace ostrel::kinds {

// Population standard deviation over the window mean (signed); 0 for a zero mean.
class CoefficientOfVariation final : public Indicator {
public:
    explicit CoefficientOfVariation(core::RollingMoments m) : m_(std::move(m)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!m_.push(f.candle.close)) return std::nullopt;
        double mean = m_.mean();
        if (mean == 0.0) return 0.0;
        return std::sqrt(m_.variance()) / mean;
    }
    std::size_t warmup_period() const override { return m_.period(); }

private:
    core::RollingMoments m_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_CoefficientOfVariation(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "CoefficientOfVariation"));
    return box_kind<kinds::CoefficientOfVariation>("CoefficientOfVariation", core::RollingMoments::make(period));
}

}  // namespace ostrel::catalogue
