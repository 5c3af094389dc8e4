#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/sma_window.hpp"

namespace ostrel::kinds {

// Distance of the close from its simple average, in percent of the average.
class DisparityIndex final : public Indicator {
public:
    explicit DisparityIndex(core::SmaWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        const auto m = w_.step(close);
        if (!m) return std::nullopt;
        if (*m == 0.0) return 0.0;
        return (close - *m) * 100.0 / *m;
    }
    std::size_t warmup_period() const override { return w_.period(); }

private:
    core::SmaWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_DisparityIndex(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "DisparityIndex"));
    return box_kind<kinds::DisparityIndex>("DisparityIndex", core::SmaWindow::make(period));
}

}  // namespace ostrel::catalogue
