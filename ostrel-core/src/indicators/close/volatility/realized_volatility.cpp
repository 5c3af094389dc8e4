#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/return_window.hpp"

namespace ostrel::kinds {

// Square root of the sum of the last `period` squared log returns (not divided by
// the count).
class RealizedVolatility final : public Indicator {
public:
    explicit RealizedVolatility(core::ReturnWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        double p = f.candle.close;
        if (!std::isfinite(p) || !(p > 0.0)) return std::nullopt;
        auto r = w_.log_return(p);
        if (!r) return std::nullopt;
        w_.push(*r, [](double v) { return v * v; });
        if (!w_.ring.full()) return std::nullopt;
        // Returns that are all 0 square to 0, not to the residue of those that left.
        w_.last = w_.all_zero() ? 0.0 : std::sqrt(w_.sum > 0.0 ? w_.sum : 0.0);
        return w_.last;
    }
    std::size_t warmup_period() const override { return w_.period + 1; }

private:
    core::ReturnWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RealizedVolatility(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "RealizedVolatility"));
    return box_kind<kinds::RealizedVolatility>("RealizedVolatility", core::ReturnWindow::make(period));
}

}  // namespace ostrel::catalogue
