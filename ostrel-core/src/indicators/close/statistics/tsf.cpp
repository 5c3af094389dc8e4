#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/linreg.hpp"
#include "indicators/core/tsf.hpp"

namespace ostrel::kinds {

// Time series forecast: the least-squares line one step past the newest close.
class Tsf final : public Indicator {
public:
    static Expected<core::RegressionWindow, IndicatorError> make(std::size_t period) {
        return core::RegressionWindow::make(period, "time series forecast needs period >= 2");
    }
    explicit Tsf(core::RegressionWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        return core::Tsf::step(w_, f.candle.close);
    }
    std::size_t warmup_period() const override { return w_.period(); }

private:
    core::RegressionWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Tsf(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Tsf"));
    return box_kind<kinds::Tsf>("Tsf", kinds::Tsf::make(period));
}

}  // namespace ostrel::catalogue
