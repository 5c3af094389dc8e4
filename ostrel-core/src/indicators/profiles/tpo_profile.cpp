#include <span>

#include "catalogue/params.hpp"
#include "indicators/core/profile_binning.hpp"

namespace ostrel::kinds {

// Price range of the last `period` candles, keeping the window's time-at-price
// histogram (one count per bin a candle covers): "price_low" and "price_high",
// returning the low.
class TpoProfile final : public core::ProfileRangeKind<TpoProfile> {
public:
    using ProfileRangeKind::ProfileRangeKind;
    // The candle count per bin of the last full window.
    static void fill(const core::Ring<core::ProfileBar>& bars, const core::ProfileRange& range,
                     std::span<double> hist) {
        core::ProfileBinning::counts(bars, range, hist);
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TpoProfile(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "TpoProfile"));
    OSTREL_TRY(bins, param_usize(p, 1, "TpoProfile"));
    return box_kind<kinds::TpoProfile>("TpoProfile", core::ProfileWindow::make(period, bins));
}

}  // namespace ostrel::catalogue
