#include "catalogue/params.hpp"
#include "indicators/core/volume_lines.hpp"

namespace ostrel::kinds {

// Negative volume index: moves with the close only on candles of falling volume.
class Nvi final : public core::VolumeIndexKind {
public:
    Nvi() : VolumeIndexKind(false) {}
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Nvi(std::span<const double>) { return box_kind(kinds::Nvi{}); }

}  // namespace ostrel::catalogue
