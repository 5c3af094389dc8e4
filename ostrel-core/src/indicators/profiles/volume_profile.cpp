#include <span>

#include "catalogue/params.hpp"
#include "indicators/core/profile_binning.hpp"

namespace ostrel::kinds {

// Price range of the last `period` candles, keeping the window's volume-at-price
// histogram: "price_low" and "price_high", returning the low.
class VolumeProfile final : public core::ProfileRangeKind<VolumeProfile> {
public:
    using ProfileRangeKind::ProfileRangeKind;
    // The volume per bin of the last full window.
    static void fill(const core::Ring<core::ProfileBar>& bars, const core::ProfileRange& range,
                     std::span<double> hist) {
        core::ProfileBinning::volume(bars, range, hist);
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_VolumeProfile(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "VolumeProfile"));
    OSTREL_TRY(bins, param_usize(p, 1, "VolumeProfile"));
    return box_kind<kinds::VolumeProfile>("VolumeProfile", core::ProfileWindow::make(period, bins));
}

}  // namespace ostrel::catalogue
