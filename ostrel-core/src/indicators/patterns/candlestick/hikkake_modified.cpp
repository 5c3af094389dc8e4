#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// Two nested inside bars, the first closing at one end of its range, then a break of the
// second inside bar's range.
class HikkakeModified final : public core::CandlePattern<HikkakeModified, 4> {
public:
    double test(const core::CandleShapes<4>& w) const {
        const auto& [k1, k2, k3, k4] = w;
        if (!(k2.h < k1.h && k2.l > k1.l && k3.h < k2.h && k3.l > k2.l)) return core::PATTERN_NONE;
        const double fifth = (k2.h - k2.l) * 0.2;
        if (k2.c <= k2.l + fifth && k4.h < k3.h && k4.l < k3.l) return core::PATTERN_BULLISH;
        if (k4.l > k3.l && k4.h > k3.h && k2.c >= k2.h - fifth) return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HikkakeModified(std::span<const double>) { return box_kind(kinds::HikkakeModified{}); }

}  // namespace ostrel::catalogue
