#include "catalogue/params.hpp"
#include "indicators/core/anchored_pair_sums.hpp"
#include "indicators/feed_access.hpp"

namespace ostrel::kinds {

// Correlation of the close with the reference over the window (population moments),
// 0 when either does not move, clamped to [-1, 1].
class PearsonCorrelation final : public Indicator {
public:
    static Expected<PearsonCorrelation, IndicatorError> make(std::size_t period) {
        if (auto e = core::check_min_period(period, 2, "pearson correlation needs period >= 2")) return *e;
        return PearsonCorrelation(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        sums_.push(in->x, in->y);
        if (!sums_.full()) return std::nullopt;
        return core::clamped_correlation(sums_);
    }
    std::size_t warmup_period() const override { return sums_.period(); }

private:
    explicit PearsonCorrelation(std::size_t period) : sums_(period) {}

    core::AnchoredPairSums sums_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_PearsonCorrelation(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "PearsonCorrelation"));
    return box_kind<kinds::PearsonCorrelation>("PearsonCorrelation", kinds::PearsonCorrelation::make(period));
}

}  // namespace ostrel::catalogue
