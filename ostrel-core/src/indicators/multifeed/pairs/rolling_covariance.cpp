#include "catalogue/params.hpp"
#include "indicators/core/pair_change_kind.hpp"

namespace ostrel::kinds {

// Population covariance of the bar-to-bar changes of the close and the reference.
class RollingCovariance final : public core::PairChangeKind<RollingCovariance> {
public:
    static Expected<RollingCovariance, IndicatorError> make(std::size_t period) {
        if (auto e = core::check_min_period(period, 2, "rolling covariance needs period >= 2")) return *e;
        return RollingCovariance(period);
    }
    static double value(const core::AnchoredPairSums& s) { return s.cov(); }

private:
    explicit RollingCovariance(std::size_t period) : PairChangeKind(period) {}
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RollingCovariance(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "RollingCovariance"));
    return box_kind<kinds::RollingCovariance>("RollingCovariance", kinds::RollingCovariance::make(period));
}

}  // namespace ostrel::catalogue
