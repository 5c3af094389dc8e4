#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/rolling_moments.hpp"

namespace ostrel::kinds {

// Mean active value a = x - y over the window divided by its sample standard
// deviation; 0 when the active value does not vary.
class InformationRatio final : public Indicator {
public:
    static Expected<InformationRatio, IndicatorError> make(std::size_t period) {
        if (auto e = core::check_min_period(period, 2, "information ratio needs period >= 2")) return *e;
        OSTREL_TRY(moments, core::RollingMoments::make(period));
        return InformationRatio(std::move(moments));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        // An active value that overflows to an infinity cannot enter the sums.
        if (!m_.push(in->x - in->y)) return std::nullopt;
        const double var = m_.sample_variance();
        if (var == 0.0) return 0.0;
        return m_.mean() / std::sqrt(var);
    }
    std::size_t warmup_period() const override { return m_.period(); }

private:
    explicit InformationRatio(core::RollingMoments m) : m_(std::move(m)) {}

    core::RollingMoments m_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_InformationRatio(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "InformationRatio"));
    return box_kind<kinds::InformationRatio>("InformationRatio", kinds::InformationRatio::make(period));
}

}  // namespace ostrel::catalogue
