#include <span>
#include <utility>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/core/profile_binning.hpp"

namespace ostrel::kinds {

// Heaviest and lightest traded price of the last `period` candles: "hvn" is the
// centre of the bin with the most volume, "lvn" that of the bin with the least
// volume above zero (both the lowest bin on ties).
class HighLowVolumeNodes final : public Indicator {
public:
    explicit HighLowVolumeNodes(core::ProfileWindow window)
        : window_(std::move(window)), outputs_({"hvn", "lvn"}) {}

    std::optional<double> update(const FeedSnapshot& f) override {
        auto range = window_.push(f);
        if (!range) return std::nullopt;
        if (range->flat) {
            outputs_.store({range->low, range->low});
            return range->low;
        }
        const std::span<double> hist = window_.histogram(hist_);
        core::ProfileBinning::volume(window_.bars(), *range, hist);
        const std::size_t high_node = core::ProfileBinning::poc(hist);
        const std::size_t low_node = lightest_traded(hist, high_node);
        const double hvn = range->centre(high_node);
        outputs_.store({hvn, range->centre(low_node)});
        return hvn;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return window_.period(); }

private:
    // The lowest bin of least volume among those above zero; `fallback` when none is.
    static std::size_t lightest_traded(std::span<const double> hist, std::size_t fallback) {
        std::size_t best = fallback;
        bool found = false;
        for (std::size_t i = 0; i < hist.size(); ++i) {
            if (!(hist[i] > 0.0)) continue;
            if (!found || hist[i] < hist[best]) {
                best = i;
                found = true;
            }
        }
        return best;
    }

    core::ProfileWindow window_;
    std::vector<double> hist_;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HighLowVolumeNodes(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "HighLowVolumeNodes"));
    OSTREL_TRY(bins, param_usize(p, 1, "HighLowVolumeNodes"));
    return box_kind<kinds::HighLowVolumeNodes>("HighLowVolumeNodes", core::ProfileWindow::make(period, bins));
}

}  // namespace ostrel::catalogue
