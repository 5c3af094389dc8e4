#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Entropy in bits of a histogram of the last `period` closes over `bins` equal-width
// bins between the window's low and high.
class ShannonEntropy final : public Indicator {
public:
    static Expected<ShannonEntropy, IndicatorError> make(std::size_t period, std::size_t bins) {
        if (period == 0 || bins == 0) return IndicatorError::zero_period();
        if (bins < 2) return IndicatorError::invalid_period("Shannon entropy needs bins >= 2");
        if (bins > MAX_PERIOD) return IndicatorError::too_long();
        // Refuse lengths beyond the common maximum like every window.
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return ShannonEntropy(period, bins);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!core::push_finite(window_, f.candle.close)) return std::nullopt;
        double lo = window_.oldest(), hi = lo;
        window_.for_each([&](double v) {
            if (v < lo) lo = v;
            if (v > hi) hi = v;
        });
        double value = 0.0;
        if (hi > lo) {
            const double width = (hi - lo) / static_cast<double>(bins_);
            const std::size_t last_bin = bins_ - 1;
            // Each value's bin; counted in a table of every bin while there are no more
            // bins than values, else by sorting the bin numbers, so that a huge bin count
            // costs only what the window holds. Both give the same counts in bin order.
            const bool dense = bins_ <= period_;
            if (dense) counts_.assign(bins_, 0);
            else indices_.clear();
            window_.for_each([&](double v) {
                double q = (v - lo) / width;
                std::size_t idx;
                if (std::isnan(q)) {
                    // Only when the width under- or overflows: 0/0 at the low end,
                    // inf/inf at the high end.
                    idx = v == lo ? 0 : last_bin;
                } else if (q >= static_cast<double>(last_bin)) {
                    idx = last_bin;
                } else {
                    idx = static_cast<std::size_t>(q);
                }
                if (dense) ++counts_[idx];
                else indices_.push_back(idx);
            });
            const double n = static_cast<double>(period_);
            double h = 0.0;
            auto add = [&](std::uint32_t c) {
                double p = static_cast<double>(c) / n;
                h = h - p * std::log2(p);
            };
            if (dense) {
                for (std::uint32_t c : counts_)
                    if (c != 0) add(c);
            } else {
                std::sort(indices_.begin(), indices_.end());
                for (std::size_t i = 0; i < indices_.size();) {
                    std::size_t j = i + 1;
                    while (j < indices_.size() && indices_[j] == indices_[i]) ++j;
                    add(static_cast<std::uint32_t>(j - i));
                    i = j;
                }
            }
            value = h;
        }
        last_ = value;
        return value;
    }
    std::size_t warmup_period() const override { return period_; }

private:
    ShannonEntropy(std::size_t period, std::size_t bins) : window_(period), period_(period), bins_(bins) {}

    std::optional<double> last_;
    core::Ring<double> window_;
    std::size_t period_;
    std::size_t bins_;
    std::vector<std::uint32_t> counts_;   // per bin, when bins <= period
    std::vector<std::size_t> indices_;    // each value's bin, when bins > period
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ShannonEntropy(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "ShannonEntropy"));
    OSTREL_TRY(bins, param_usize(p, 1, "ShannonEntropy"));
    return box_kind<kinds::ShannonEntropy>("ShannonEntropy", kinds::ShannonEntropy::make(period, bins));
}

}  // namespace ostrel::catalogue
