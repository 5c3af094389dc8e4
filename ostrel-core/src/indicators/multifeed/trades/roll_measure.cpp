#include <cmath>
#include <optional>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Roll's implied spread from the first-order autocovariance gamma of the last
// `period` trade-price changes: 2 sqrt(-gamma) when gamma < 0, else 0.
class RollMeasure final : public Indicator {
public:
    static Expected<RollMeasure, IndicatorError> make(std::size_t period) {
        if (auto e = core::check_min_period(period, 3, "Roll measure needs period >= 3")) return *e;
        return RollMeasure(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const bool any = core::for_each_trade(f, [&](const Trade& t) {
            if (prev_) changes_.push(t.price - *prev_);
            prev_ = t.price;
        });
        // The last trade's result depends on the window alone: computed once per bar.
        if (!any || !changes_.full()) return std::nullopt;
        const std::size_t n = changes_.size();
        scratch_.resize(n);  // once, when the window first fills
        const double nd = static_cast<double>(n);
        for (std::size_t i = 0; i < n; ++i) scratch_[i] = changes_[i];
        double sum = 0.0;
        for (std::size_t i = 0; i < n; ++i) sum = sum + scratch_[i];
        const double m = sum / nd;
        double acc = 0.0;
        for (std::size_t i = 1; i < n; ++i) acc = acc + (scratch_[i - 1] - m) * (scratch_[i] - m);
        const double gamma = acc / (nd - 1.0);
        if (gamma < 0.0) return 2.0 * std::sqrt(-gamma);
        return 0.0;
    }
    std::size_t warmup_period() const override { return changes_.capacity() + 1; }

private:
    explicit RollMeasure(std::size_t period) : changes_(period) {}

    std::optional<double> prev_;
    core::Ring<double> changes_;
    std::vector<double> scratch_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RollMeasure(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "RollMeasure"));
    return box_kind<kinds::RollMeasure>("RollMeasure", kinds::RollMeasure::make(period));
}

}  // namespace ostrel::catalogue
