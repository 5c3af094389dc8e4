#include <span>
#include <utility>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/profile_binning.hpp"

namespace ostrel::kinds {

// Price range of the last `period` candles, keeping the window's volume-at-price
// histogram: "price_low" and "price_high", returning the low.
class VolumeProfile final : public Indicator {
public:
    explicit VolumeProfile(core::ProfileWindow window)
        : window_(std::move(window)), hist_(window_.bins()), outputs_({"price_low", "price_high"}) {}

    std::optional<double> update(const FeedSnapshot& f) override {
        auto range = window_.push(f);
        if (!range) return std::nullopt;
        core::ProfileBinning::volume(window_.bars(), *range, std::span<double>(hist_));
        outputs_.store({range->low, range->high});
        return range->low;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return window_.period(); }

private:
    core::ProfileWindow window_;
    std::vector<double> hist_;  // volume per bin of the last full window
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_VolumeProfile(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "VolumeProfile"));
    OSTREL_TRY(bins, param_usize(p, 1, "VolumeProfile"));
    return box_kind<kinds::VolumeProfile>("VolumeProfile", core::ProfileWindow::make(period, bins));
}

}  // namespace ostrel::catalogue
