#include "catalogue/params.hpp"
#include "indicators/core/pair_change_kind.hpp"

namespace ostrel::kinds {

// Correlation of the bar-to-bar changes of the close and the reference; 0 when
// either does not vary, clamped to [-1, 1].
class RollingCorrelation final : public core::PairChangeKind<RollingCorrelation> {
public:
    static Expected<RollingCorrelation, IndicatorError> make(std::size_t period) {
        if (auto e = core::check_min_period(period, 2, "rolling correlation needs period >= 2")) return *e;
        return RollingCorrelation(period);
    }
    static double value(const core::AnchoredPairSums& s) { return core::clamped_correlation(s); }

private:
    explicit RollingCorrelation(std::size_t period) : PairChangeKind(period) {}
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RollingCorrelation(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "RollingCorrelation"));
    return box_kind<kinds::RollingCorrelation>("RollingCorrelation", kinds::RollingCorrelation::make(period));
}

}  // namespace ostrel::catalogue
