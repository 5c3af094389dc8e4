// The kinds that reduce each Bollinger step to one value by the kind's own
// `value(bands, close)`: period checked before the multiplier, a non-finite close
// ignored by the window.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>
#include <utility>

#include "indicators/core/bollinger.hpp"
#include "indicators/indicator.hpp"

namespace ostrel::core {

template <class Kind>
class BollingerRatioKind : public Indicator {
public:
    static Expected<BollingerWindow, IndicatorError> make(std::size_t period, double multiplier) {
        if (auto e = check_period(period)) return *e;
        if (!std::isfinite(multiplier) || !(multiplier > 0.0)) return IndicatorError::non_positive_multiplier();
        return BollingerWindow(period, multiplier);
    }
    explicit BollingerRatioKind(BollingerWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        auto r = w_.step(f.candle.close);
        if (!r) return std::nullopt;
        double v = Kind::value(*r, f.candle.close);
        last_ = v;
        return v;
    }
    std::size_t warmup_period() const override { return w_.period(); }

private:
    BollingerWindow w_;
    std::optional<double> last_;
};

}  // namespace ostrel::core
