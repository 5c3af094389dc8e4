#include <optional>

#include "catalogue/params.hpp"
#include "indicators/core/anchored_pair_sums.hpp"
#include "indicators/feed_access.hpp"

namespace ostrel::kinds {

// Kyle's lambda: the slope of the reference mid's change on the signed trade size
// over the last `window` trades (population covariance over population variance);
// 0 when the signed sizes do not vary.
class KylesLambda final : public Indicator {
public:
    static Expected<KylesLambda, IndicatorError> make(std::size_t window) {
        if (auto e = core::check_min_period(window, 2, "kyle's lambda needs window >= 2")) return *e;
        return KylesLambda(window);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (f.trades.empty()) return std::nullopt;
        const auto mid = core::reference_mid(f);
        if (!mid) return std::nullopt;
        std::optional<double> result;
        core::for_each_trade(f, [&](const Trade& t) {
            result = std::nullopt;
            if (!previous_mid_) {
                previous_mid_ = *mid;
                return;
            }
            // Every trade after the first of a bar sees the same mid: dm = 0.
            const double dm = *mid - *previous_mid_;
            previous_mid_ = *mid;
            sums_.push(core::signed_size(t), dm);
            if (!sums_.full()) return;
            const double var = sums_.var_u();
            result = var == 0.0 ? 0.0 : sums_.cov() / var;
        });
        return result;
    }
    std::size_t warmup_period() const override { return sums_.period() + 1; }

private:
    explicit KylesLambda(std::size_t window) : sums_(window) {}

    core::AnchoredPairSums sums_;
    std::optional<double> previous_mid_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_KylesLambda(std::span<const double> p) {
    OSTREL_TRY(window, param_usize(p, 0, "KylesLambda"));
    return box_kind<kinds::KylesLambda>("KylesLambda", kinds::KylesLambda::make(window));
}

}  // namespace ostrel::catalogue
