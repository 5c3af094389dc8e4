#include <span>
#include <utility>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/profile_binning.hpp"

namespace ostrel::kinds {

// Price range of the last `period` candles, keeping the window's time-at-price
// histogram (one count per bin a candle covers): "price_low" and "price_high",
// returning the low.
class TpoProfile final : public Indicator {
public:
    explicit TpoProfile(core::ProfileWindow window)
        : window_(std::move(window)), hist_(window_.bins()), outputs_({"price_low", "price_high"}) {}

    std::optional<double> update(const FeedSnapshot& f) override {
        auto range = window_.push(f);
        if (!range) return std::nullopt;
        core::ProfileBinning::counts(window_.bars(), *range, std::span<double>(hist_));
        outputs_.store({range->low, range->high});
        return range->low;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return window_.period(); }

private:
    core::ProfileWindow window_;
    std::vector<double> hist_;  // candle count per bin of the last full window
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TpoProfile(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "TpoProfile"));
    OSTREL_TRY(bins, param_usize(p, 1, "TpoProfile"));
    return box_kind<kinds::TpoProfile>("TpoProfile", core::ProfileWindow::make(period, bins));
}

}  // namespace ostrel::catalogue
