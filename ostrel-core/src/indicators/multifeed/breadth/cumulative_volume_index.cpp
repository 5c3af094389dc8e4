#include "catalogue/params.hpp"
#include "indicators/core/breadth.hpp"

namespace ostrel::kinds {

// Up volume less down volume of the cross-section, accumulated bar by bar.
class CumulativeVolumeIndex final : public core::BreadthVolumeLineKind {};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_CumulativeVolumeIndex(std::span<const double>) { return box_kind(kinds::CumulativeVolumeIndex{}); }

}  // namespace ostrel::catalogue
