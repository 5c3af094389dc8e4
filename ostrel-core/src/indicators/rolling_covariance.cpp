#include <cmath>
#include <optional>

#include "catalogue/params.hpp"
#include "indicators/anchored_pair_sums.hpp"
#include "indicators/feed_access.hpp"

namespace ostrel::kinds {

// Population covariance of the bar-to-bar changes of the close and the reference.
class RollingCovariance final : public Indicator {
public:
    static Expected<RollingCovariance, IndicatorError> make(std::size_t period) {
        if (auto e = core::check_min_period(period, 2, "rolling covariance needs period >= 2")) return *e;
        return RollingCovariance(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        const std::optional<core::PairInput> prev = previous_;
        previous_ = *in;
        if (!prev) return std::nullopt;
        sums_.push(in->x - prev->x, in->y - prev->y);
        if (!sums_.full()) return std::nullopt;
        return sums_.cov();
    }
    std::size_t warmup_period() const override { return sums_.period() + 1; }

private:
    explicit RollingCovariance(std::size_t period) : sums_(period) {}

    core::AnchoredPairSums sums_;
    std::optional<core::PairInput> previous_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RollingCovariance(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "RollingCovariance"));
    return box_kind<kinds::RollingCovariance>("RollingCovariance", kinds::RollingCovariance::make(period));
}

}  // namespace ostrel::catalogue
