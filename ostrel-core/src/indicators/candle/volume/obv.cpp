#include "catalogue/params.hpp"
#include "indicators/core/volume_lines.hpp"

namespace ostrel::kinds {

// On-balance volume: the volume of a candle is added when its close rises against
// the previous close and subtracted when it falls.
class Obv final : public core::CloseChangeTotalKind<Obv> {
public:
    static double next(double total, double close, double prev_close, double volume) {
        if (close > prev_close) return total + volume;
        if (close < prev_close) return total - volume;
        return total;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Obv(std::span<const double>) { return box_kind(kinds::Obv{}); }

}  // namespace ostrel::catalogue
