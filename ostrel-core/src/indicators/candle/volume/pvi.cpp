#include "catalogue/params.hpp"
#include "indicators/core/volume_lines.hpp"

namespace ostrel::kinds {

// Positive volume index: moves with the close only on candles of rising volume.
class Pvi final : public core::VolumeIndexKind {
public:
    Pvi() : VolumeIndexKind(true) {}
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Pvi(std::span<const double>) { return box_kind(kinds::Pvi{}); }

}  // namespace ostrel::catalogue
