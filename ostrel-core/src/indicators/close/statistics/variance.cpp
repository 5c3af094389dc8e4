#include "catalogue/params.hpp"
#include "indicators/core/rolling_moments.hpp"

namespace ostrel::kinds {

// Population variance of the last `period` closes.
class Variance final : public Indicator {
public:
    explicit Variance(core::RollingMoments m) : m_(std::move(m)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!m_.push(f.candle.close)) return std::nullopt;
        return m_.variance();
    }
    std::size_t warmup_period() const override { return m_.period(); }

private:
    core::RollingMoments m_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Variance(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Variance"));
    return box_kind<kinds::Variance>("Variance", core::RollingMoments::make(period));
}

}  // namespace ostrel::catalogue
