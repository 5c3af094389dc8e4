#include <cstddef>
#include <span>
#include <utility>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/core/profile_binning.hpp"

namespace ostrel::kinds {

// Where the point of control of the last `period` candles sits in their range: -1 in
// the lowest third of the bins, +1 in the highest third, 0 between.
class ProfileShape final : public Indicator {
public:
    static Expected<ProfileShape, IndicatorError> make(std::size_t period, std::size_t bins) {
        if (period == 0) return IndicatorError::zero_period();
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        if (bins < 3) return IndicatorError::invalid_period("profile shape needs bins >= 3");
        if (bins > MAX_PERIOD) return IndicatorError::too_long();
        OSTREL_TRY(window, core::ProfileWindow::make(period, bins));
        return ProfileShape(std::move(window));
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        auto range = window_.push(f);
        if (!range) return std::nullopt;
        std::size_t poc = 0;
        if (!range->flat) {
            const std::span<double> hist = window_.histogram(hist_);
            core::ProfileBinning::volume(window_.bars(), *range, hist);
            poc = core::ProfileBinning::poc(hist);
        }
        const std::size_t bins = window_.bins();
        const std::size_t third = bins / 3;
        if (poc < third) return -1.0;
        if (poc >= bins - third) return 1.0;
        return 0.0;
    }
    std::size_t warmup_period() const override { return window_.period(); }

private:
    explicit ProfileShape(core::ProfileWindow window) : window_(std::move(window)) {}

    core::ProfileWindow window_;
    std::vector<double> hist_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ProfileShape(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "ProfileShape"));
    OSTREL_TRY(bins, param_usize(p, 1, "ProfileShape"));
    return box_kind<kinds::ProfileShape>("ProfileShape", kinds::ProfileShape::make(period, bins));
}

}  // namespace ostrel::catalogue
