#include "catalogue/params.hpp"
#include "indicators/core/volume_lines.hpp"

namespace ostrel::kinds {

// VWAP anchored at the first update after construction: the same values as `Vwap`
// fed the same candles.
class AnchoredVwap final : public core::CumulativeVwapKind {};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AnchoredVwap(std::span<const double>) { return box_kind(kinds::AnchoredVwap{}); }

}  // namespace ostrel::catalogue
