#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Sum of the window's returns over the sum of its losses, from running sums.
class GainToPainRatio final : public Indicator {
public:
    static Expected<GainToPainRatio, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return GainToPainRatio(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        if (window_.full()) {
            double o = window_.oldest();
            sum_ = sum_ - o;
            if (o < 0.0) {
                pain_ = pain_ - -o;
                // With no loss left in the window the pain is exactly 0, not the
                // rounding residue of the subtractions.
                if (--losses_ == 0) pain_ = 0.0;
            }
        }
        window_.push(x);
        sum_ = sum_ + x;
        if (x < 0.0) {
            pain_ = pain_ + -x;
            ++losses_;
        }
        if (!window_.full()) return std::nullopt;
        return pain_ > 0.0 ? sum_ / pain_ : 0.0;
    }
    std::size_t warmup_period() const override { return period_; }

private:
    explicit GainToPainRatio(std::size_t period) : window_(period), period_(period) {}
    core::Ring<double> window_;
    std::size_t period_;
    double sum_ = 0.0;
    double pain_ = 0.0;
    std::size_t losses_ = 0;  // losses in the window
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_GainToPainRatio(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "GainToPainRatio"));
    return box_kind<kinds::GainToPainRatio>("GainToPainRatio", kinds::GainToPainRatio::make(period));
}

}  // namespace ostrel::catalogue
