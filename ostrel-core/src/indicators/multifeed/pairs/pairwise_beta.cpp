#include <cmath>
#include <optional>

#include "catalogue/params.hpp"
#include "indicators/core/anchored_pair_sums.hpp"
#include "indicators/feed_access.hpp"

namespace ostrel::kinds {

// Beta of the close's log returns on the reference's log returns over the window;
// 0 when the reference returns do not vary. Both prices must be above 0.
class PairwiseBeta final : public Indicator {
public:
    static Expected<PairwiseBeta, IndicatorError> make(std::size_t period) {
        if (auto e = core::check_min_period(period, 2, "pairwise beta needs period >= 2")) return *e;
        return PairwiseBeta(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        if (!(in->x > 0.0) || !(in->y > 0.0)) return std::nullopt;
        const std::optional<core::PairInput> prev = previous_;
        previous_ = *in;
        if (!prev) return std::nullopt;
        sums_.push(std::log(in->x / prev->x), std::log(in->y / prev->y));
        if (!sums_.full()) return std::nullopt;
        return sums_.slope();
    }
    std::size_t warmup_period() const override { return sums_.period() + 1; }

private:
    explicit PairwiseBeta(std::size_t period) : sums_(period) {}

    core::AnchoredPairSums sums_;
    std::optional<core::PairInput> previous_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_PairwiseBeta(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "PairwiseBeta"));
    return box_kind<kinds::PairwiseBeta>("PairwiseBeta", kinds::PairwiseBeta::make(period));
}

}  // namespace ostrel::catalogue
