#include "catalogue/params.hpp"
#include "indicators/core/anchored_pair_sums.hpp"
#include "indicators/feed_access.hpp"

namespace ostrel::kinds {

// Slope of the close on the reference over the window: cov / var(y), 0 when the
// reference does not move.
class Beta final : public Indicator {
public:
    static Expected<Beta, IndicatorError> make(std::size_t period) {
        if (auto e = core::check_min_period(period, 2, "beta needs period >= 2")) return *e;
        return Beta(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        sums_.push(in->x, in->y);
        if (!sums_.full()) return std::nullopt;
        return sums_.slope();
    }
    std::size_t warmup_period() const override { return sums_.period(); }

private:
    explicit Beta(std::size_t period) : sums_(period) {}

    core::AnchoredPairSums sums_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Beta(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Beta"));
    return box_kind<kinds::Beta>("Beta", kinds::Beta::make(period));
}

}  // namespace ostrel::catalogue
