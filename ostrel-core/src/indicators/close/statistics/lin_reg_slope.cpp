#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/linreg.hpp"
#include "indicators/core/tsf.hpp"

namespace ostrel::kinds {

// Slope of the least-squares line through the last `period` closes.
class LinRegSlope final : public Indicator {
public:
    static Expected<core::RegressionWindow, IndicatorError> make(std::size_t period) {
        return core::RegressionWindow::make(period, "linear regression slope needs period >= 2");
    }
    explicit LinRegSlope(core::RegressionWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        return core::LinRegSlope::step(w_, f.candle.close);
    }
    std::size_t warmup_period() const override { return w_.period(); }

private:
    core::RegressionWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_LinRegSlope(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "LinRegSlope"));
    return box_kind<kinds::LinRegSlope>("LinRegSlope", kinds::LinRegSlope::make(period));
}

}  // namespace ostrel::catalogue
