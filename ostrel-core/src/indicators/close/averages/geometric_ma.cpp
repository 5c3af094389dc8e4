#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_sums.hpp"

namespace ostrel::kinds {

// exp of the mean log close over the window; closes <= 0 are refused.
class GeometricMa final : public Indicator {
public:
    explicit GeometricMa(core::RollingSums s) : s_(std::move(s)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        double close = f.candle.close;
        if (!std::isfinite(close) || !(close > 0.0)) return std::nullopt;
        s_.push(std::log(close));
        if (!s_.window.full()) return std::nullopt;
        return std::exp(s_.sum / static_cast<double>(s_.period));
    }
    std::size_t warmup_period() const override { return s_.period; }

private:
    core::RollingSums s_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_GeometricMa(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "GeometricMa"));
    return box_kind<kinds::GeometricMa>("GeometricMa", core::RollingSums::make(period));
}

}  // namespace ostrel::catalogue
