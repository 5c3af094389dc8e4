// State and update shared by the MACD of free periods and the fixed-factor MACD:
// fast and slow seeded averages of the close, a seeded signal average of their
// difference, and the stored ("macd", "signal", "histogram") outputs.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"
#include "indicators/core/seeded_ema.hpp"

namespace ostrel::core {

class MacdLines {
public:
    MacdLines(SeededEma fast, SeededEma slow, SeededEma signal)
        : fast_(fast), slow_(slow), signal_(signal), outputs_({"macd", "signal", "histogram"}) {}

    // Reads the close only; a non-finite close is ignored.
    std::optional<double> update(double close) {
        if (!std::isfinite(close)) return std::nullopt;
        auto f = fast_.step_fused(close);
        auto s = slow_.step_fused(close);
        if (!f || !s) return std::nullopt;
        double macd = *f - *s;
        if (!std::isfinite(macd)) return std::nullopt;
        auto sig = signal_.step_fused(macd);
        if (!sig) return std::nullopt;
        outputs_.store({macd, *sig, macd - *sig});
        return macd;
    }

    std::span<const NamedOutput> outputs() const { return outputs_.view(); }
    // The slow average and then the signal average complete their seeds.
    std::size_t warmup_period() const { return slow_.period() + signal_.period() - 1; }

private:
    SeededEma fast_;
    SeededEma slow_;
    SeededEma signal_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::core
