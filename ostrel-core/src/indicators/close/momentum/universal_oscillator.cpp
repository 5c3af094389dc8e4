#include <algorithm>
#include <cmath>

#include "catalogue/params.hpp"

namespace ostrel::kinds {

// Ehlers' universal oscillator: the two-bar white noise of the close through a
// two-pole super smoother, scaled by a slowly decaying peak (automatic gain control).
class UniversalOscillator final : public Indicator {
public:
    static Expected<UniversalOscillator, IndicatorError> make(std::size_t band_edge) {
        if (auto e = check_period(band_edge)) return *e;
        return UniversalOscillator(band_edge);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        if (!close2_) {
            shift(close);
            return std::nullopt;
        }
        const double wn = (close - *close2_) * 0.5;
        if (!std::isfinite(wn)) {
            shift(close);
            return last_value_;
        }
        double filt;
        double level;
        if (wn1_ && filt1_ && filt2_) {
            const double mid = midpoint(wn, *wn1_);
            filt = (mid * c1_ + *filt1_ * c2_) + *filt2_ * c3_;
            level = std::fabs(filt);
        } else {
            filt = wn;
            level = std::fabs(wn);
        }
        filt2_ = filt1_;
        filt1_ = filt;
        wn1_ = wn;
        peak_ = std::max(level, peak_ * 0.991);
        const double value = peak_ > 0.0 ? std::clamp(filt / peak_, -1.0, 1.0) : 0.0;
        shift(close);
        last_value_ = value;
        return value;
    }
    std::size_t warmup_period() const override { return 3; }

private:
    explicit UniversalOscillator(std::size_t band_edge) {
        const double x = 4.442882938158366 / static_cast<double>(band_edge);
        const double a = std::exp(-x);
        c2_ = std::cos(x) * (a + a);
        c3_ = -(a * a);
        c1_ = 1.0 - c2_ - c3_;
    }

    void shift(double close) {
        close2_ = close1_;
        close1_ = close;
    }

    std::optional<double> wn1_;
    std::optional<double> filt1_;
    std::optional<double> filt2_;
    double c1_ = 0.0;
    double c2_ = 0.0;
    double c3_ = 0.0;
    std::optional<double> close1_;
    std::optional<double> close2_;
    std::optional<double> last_value_;
    double peak_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_UniversalOscillator(std::span<const double> p) {
    OSTREL_TRY(band_edge, param_usize(p, 0, "UniversalOscillator"));
    return box_kind<kinds::UniversalOscillator>("UniversalOscillator", kinds::UniversalOscillator::make(band_edge));
}

}  // namespace ostrel::catalogue
