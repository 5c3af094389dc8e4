#include "catalogue/params.hpp"
#include "indicators/core/volume_lines.hpp"

namespace ostrel::kinds {

// Volume-price trend: the running total of volume times the fractional change of
// the close (a change of 0 after a previous close of 0); 0 on the first candle.
class VolumePriceTrend final : public core::CloseChangeTotalKind<VolumePriceTrend> {
public:
    static double next(double total, double close, double prev_close, double volume) {
        const double ratio = prev_close == 0.0 ? 0.0 : (close - prev_close) / prev_close;
        return total + volume * ratio;
    }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_VolumePriceTrend(std::span<const double>) { return box_kind(kinds::VolumePriceTrend{}); }

}  // namespace ostrel::catalogue
