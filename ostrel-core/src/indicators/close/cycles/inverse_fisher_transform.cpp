#include <cmath>

#include "catalogue/params.hpp"

namespace ostrel::kinds {

// Inverse Fisher transform of the scaled close: tanh(scale x close), in (-1, 1).
class InverseFisherTransform final : public Indicator {
public:
    static Expected<InverseFisherTransform, IndicatorError> make(double scale) {
        if (!(std::isfinite(scale) && scale > 0.0))
            return IndicatorError::invalid_period("scale must be a positive finite number");
        return InverseFisherTransform(scale);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        return std::tanh(scale_ * x);
    }
    std::size_t warmup_period() const override { return 1; }

private:
    explicit InverseFisherTransform(double scale) : scale_(scale) {}

    double scale_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_InverseFisherTransform(std::span<const double> p) {
    OSTREL_TRY(scale, param_f64(p, 0, "InverseFisherTransform"));
    return box_kind<kinds::InverseFisherTransform>("InverseFisherTransform",
                                                   kinds::InverseFisherTransform::make(scale));
}

}  // namespace ostrel::catalogue
