#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/rolling_moments.hpp"

namespace ostrel::kinds {

// Bollinger bands of the spread x - y: the window mean with bands num_std
// population standard deviations away, and where the spread sits between them
// (0.5 when the bands meet).
class SpreadBollingerBands final : public Indicator {
public:
    static Expected<SpreadBollingerBands, IndicatorError> make(std::size_t period, double num_std) {
        if (auto e = core::check_min_period(period, 2, "spread bollinger bands needs period >= 2")) return *e;
        if (!std::isfinite(num_std) || !(num_std > 0.0))
            return IndicatorError::invalid_parameter("spread bollinger bands needs num_std > 0");
        OSTREL_TRY(moments, core::RollingMoments::make(period));
        return SpreadBollingerBands(std::move(moments), num_std);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        const double s = in->x - in->y;
        // A spread that overflows to an infinity cannot enter the sums and is refused.
        if (!m_.push(s)) return std::nullopt;
        const double middle = m_.mean();
        const double w = num_std_ * std::sqrt(m_.variance());
        const double upper = middle + w;
        const double lower = middle - w;
        const double percent_b = w == 0.0 ? 0.5 : (s - lower) / (upper - lower);
        outputs_.store({middle, upper, lower, percent_b});
        return middle;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return m_.period(); }

private:
    SpreadBollingerBands(core::RollingMoments m, double num_std) : m_(std::move(m)), num_std_(num_std) {}

    core::RollingMoments m_;
    double num_std_;
    OutputSlots<4> outputs_{{"middle", "upper", "lower", "percent_b"}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SpreadBollingerBands(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "SpreadBollingerBands"));
    OSTREL_TRY(num_std, param_f64(p, 1, "SpreadBollingerBands"));
    return box_kind<kinds::SpreadBollingerBands>("SpreadBollingerBands",
                                                 kinds::SpreadBollingerBands::make(period, num_std));
}

}  // namespace ostrel::catalogue
