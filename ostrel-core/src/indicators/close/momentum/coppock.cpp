#include <algorithm>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/lag_window.hpp"
#include "indicators/core/roc.hpp"
#include "indicators/core/wma.hpp"

namespace ostrel::kinds {

// Coppock curve: a weighted average of the sum of two rates of change.
class Coppock final : public Indicator {
public:
    static Expected<Coppock, IndicatorError> make(std::size_t roc_period1, std::size_t roc_period2,
                                                  std::size_t wma_period) {
        if (roc_period1 == 0 || roc_period2 == 0 || wma_period == 0) return IndicatorError::zero_period();
        OSTREL_TRY(roc1, core::LagWindow::make(roc_period1));
        OSTREL_TRY(roc2, core::LagWindow::make(roc_period2));
        OSTREL_TRY(wma, core::Wma::make(wma_period));
        return Coppock(std::move(roc1), std::move(roc2), std::move(wma));
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        feed(roc1_, close);
        feed(roc2_, close);
        if (!roc1_.last || !roc2_.last) return std::nullopt;
        const auto w = wma_.step(*roc1_.last + *roc2_.last);
        if (!w) return std::nullopt;
        last_value_ = w;
        return w;
    }
    std::size_t warmup_period() const override {
        return std::max(roc1_.period(), roc2_.period()) + wma_.period();
    }

private:
    Coppock(core::LagWindow roc1, core::LagWindow roc2, core::Wma wma)
        : roc1_(std::move(roc1)), roc2_(std::move(roc2)), wma_(std::move(wma)) {}

    static void feed(core::LagWindow& w, double close) {
        if (const auto old = w.push(close)) w.last = core::roc(close, *old);
    }

    core::LagWindow roc1_;
    core::LagWindow roc2_;
    std::optional<double> last_value_;
    core::Wma wma_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Coppock(std::span<const double> p) {
    OSTREL_TRY(roc_period1, param_usize(p, 0, "Coppock"));
    OSTREL_TRY(roc_period2, param_usize(p, 1, "Coppock"));
    OSTREL_TRY(wma_period, param_usize(p, 2, "Coppock"));
    return box_kind<kinds::Coppock>("Coppock", kinds::Coppock::make(roc_period1, roc_period2, wma_period));
}

}  // namespace ostrel::catalogue
