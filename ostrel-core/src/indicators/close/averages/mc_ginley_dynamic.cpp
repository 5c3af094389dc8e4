#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/seeded_window.hpp"

namespace ostrel::kinds {

// McGinley dynamic: a seeded average whose step shrinks with the fourth power of
// close / average. A non-positive close or average repeats the average unchanged.
class McGinleyDynamic final : public Indicator {
public:
    explicit McGinleyDynamic(core::SeededWindow s) : w_(s) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        if (!w_.value) return w_.seed(close);
        double prev = *w_.value;
        if (close <= 0.0 || prev <= 0.0) return prev;
        double ratio = close / prev;
        double k = ((ratio * ratio) * (ratio * ratio)) * (static_cast<double>(w_.period) * 0.6);
        w_.value = prev + (close - prev) / k;
        return w_.value;
    }
    std::size_t warmup_period() const override { return w_.period; }

private:
    core::SeededWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_McGinleyDynamic(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "McGinleyDynamic"));
    return box_kind<kinds::McGinleyDynamic>("McGinleyDynamic", core::SeededWindow::make(period));
}

}  // namespace ostrel::catalogue
