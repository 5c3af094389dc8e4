#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Range of the last `period` closes over the path of the last `period` absolute
// changes (a running sum).
class VerticalHorizontalFilter final : public Indicator {
public:
    static Expected<VerticalHorizontalFilter, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return VerticalHorizontalFilter(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        window_.push(x);
        if (prev_close_) {
            double d = std::fabs(x - *prev_close_);
            if (changes_.full()) path_ = path_ - changes_.oldest();
            changes_.push(d);
            path_ = path_ + d;
        }
        prev_close_ = x;
        if (!window_.full() || !changes_.full()) return std::nullopt;
        double hi = window_.oldest(), lo = hi;
        window_.for_each([&](double v) {
            if (v > hi) hi = v;
            if (v < lo) lo = v;
        });
        // A path read below 0 is a residue of changes that left: no path. The path
        // joins every close of the window, so it is at least their range: a path read
        // shorter is a residue too, and the ratio is at most 1.
        if (path_ <= 0.0) return 0.0;
        const double v = (hi - lo) / path_;
        return v > 1.0 ? 1.0 : v;
    }
    std::size_t warmup_period() const override { return period_ + 1; }

private:
    explicit VerticalHorizontalFilter(std::size_t period) : window_(period), changes_(period), period_(period) {}

    std::optional<double> prev_close_;
    core::Ring<double> window_;
    core::Ring<double> changes_;
    std::size_t period_;
    double path_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_VerticalHorizontalFilter(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "VerticalHorizontalFilter"));
    return box_kind<kinds::VerticalHorizontalFilter>("VerticalHorizontalFilter",
                                                     kinds::VerticalHorizontalFilter::make(period));
}

}  // namespace ostrel::catalogue
