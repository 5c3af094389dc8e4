#include "catalogue/params.hpp"
#include "indicators/core/volume_lines.hpp"

namespace ostrel::kinds {

// Volume-weighted mean of the typical prices of every candle since construction;
// nothing while no volume has been seen. It never resets.
class Vwap final : public core::CumulativeVwapKind {};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Vwap(std::span<const double>) { return box_kind(kinds::Vwap{}); }

}  // namespace ostrel::catalogue
