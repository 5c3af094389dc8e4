#include "catalogue/params.hpp"
#include "indicators/core/swing_pattern.hpp"

namespace ostrel::kinds {

// A pole P0 -> P1 followed by a shallow retracement to P2 of strictly less than
// half the pole: bullish after a pole up to a high, bearish after one down to a low.
class FlagPennant final : public core::SwingPattern<FlagPennant, 3> {
public:
    double test(const core::SwingPivots<3>& p) const {
        const double pole = p[1].price - p[0].price;
        if (pole == 0) return 0.0;
        if (std::fabs(p[2].price - p[1].price) < 0.5 * std::fabs(p[1].price - p[0].price))
            return p[1].direction > 0 ? 1.0 : -1.0;
        return 0.0;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FlagPennant(std::span<const double>) { return box_kind(kinds::FlagPennant{}); }

}  // namespace ostrel::catalogue
