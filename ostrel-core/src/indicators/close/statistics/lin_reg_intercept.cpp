#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/linreg.hpp"
#include "indicators/core/tsf.hpp"

namespace ostrel::kinds {

// Value of the least-squares line at the oldest close of the window.
class LinRegIntercept final : public Indicator {
public:
    static Expected<core::RegressionWindow, IndicatorError> make(std::size_t period) {
        return core::RegressionWindow::make(period, "linear regression intercept needs period >= 2");
    }
    explicit LinRegIntercept(core::RegressionWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!w_.push(f.candle.close)) return std::nullopt;
        return w_.intercept(w_.slope());
    }
    std::size_t warmup_period() const override { return w_.period(); }

private:
    core::RegressionWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_LinRegIntercept(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "LinRegIntercept"));
    return box_kind<kinds::LinRegIntercept>("LinRegIntercept", kinds::LinRegIntercept::make(period));
}

}  // namespace ostrel::catalogue
