#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/linreg.hpp"
#include "indicators/core/tsf.hpp"

namespace ostrel::kinds {

// Value of the least-squares line at the newest close.
class LinearRegression final : public Indicator {
public:
    static Expected<core::RegressionWindow, IndicatorError> make(std::size_t period) {
        return core::RegressionWindow::make(period, "linear regression needs period >= 2");
    }
    explicit LinearRegression(core::RegressionWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        return w_.step(f.candle.close);
    }
    std::size_t warmup_period() const override { return w_.period(); }

private:
    core::RegressionWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_LinearRegression(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "LinearRegression"));
    return box_kind<kinds::LinearRegression>("LinearRegression", kinds::LinearRegression::make(period));
}

}  // namespace ostrel::catalogue
