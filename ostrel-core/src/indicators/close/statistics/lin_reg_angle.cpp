#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/linreg.hpp"
#include "indicators/core/tsf.hpp"

namespace ostrel::kinds {

// Angle of the least-squares slope in degrees.
class LinRegAngle final : public Indicator {
public:
    static Expected<core::RegressionWindow, IndicatorError> make(std::size_t period) {
        return core::RegressionWindow::make(period, "linear regression slope needs period >= 2");
    }
    explicit LinRegAngle(core::RegressionWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        auto b = core::LinRegSlope::step(w_, f.candle.close);
        if (!b) return std::nullopt;
        return std::atan(*b) * 57.29577951308232;
    }
    std::size_t warmup_period() const override { return w_.period(); }

private:
    core::RegressionWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_LinRegAngle(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "LinRegAngle"));
    return box_kind<kinds::LinRegAngle>("LinRegAngle", kinds::LinRegAngle::make(period));
}

}  // namespace ostrel::catalogue
