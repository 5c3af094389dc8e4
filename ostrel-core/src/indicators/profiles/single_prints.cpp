#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/core/profile_binning.hpp"

namespace ostrel::kinds {

// Number of price bins of the last `period` candles' range that exactly one candle
// covered; 0 for a flat window.
class SinglePrints final : public Indicator {
public:
    explicit SinglePrints(core::ProfileWindow window) : window_(std::move(window)) {}

    std::optional<double> update(const FeedSnapshot& f) override {
        auto range = window_.push(f);
        if (!range) return std::nullopt;
        if (range->flat) return 0.0;
        const std::span<std::uint32_t> counts = window_.histogram(counts_);
        core::ProfileBinning::counts(window_.bars(), *range, counts);
        std::size_t singles = 0;
        for (std::uint32_t c : counts)
            if (c == 1) ++singles;
        return static_cast<double>(singles);
    }
    std::size_t warmup_period() const override { return window_.period(); }

private:
    core::ProfileWindow window_;
    std::vector<std::uint32_t> counts_;  // candles covering each bin
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SinglePrints(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "SinglePrints"));
    OSTREL_TRY(bins, param_usize(p, 1, "SinglePrints"));
    return box_kind<kinds::SinglePrints>("SinglePrints", core::ProfileWindow::make(period, bins));
}

}  // namespace ostrel::catalogue
