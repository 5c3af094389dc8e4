#include "catalogue/params.hpp"
#include "indicators/core/breadth.hpp"

namespace ostrel::kinds {

// Up volume less down volume of the cross-section, accumulated bar by bar.
class AdVolumeLine final : public core::BreadthVolumeLineKind {};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AdVolumeLine(std::span<const double>) { return box_kind(kinds::AdVolumeLine{}); }

}  // namespace ostrel::catalogue
