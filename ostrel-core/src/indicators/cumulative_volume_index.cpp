#include "catalogue/params.hpp"
#include "indicators/breadth.hpp"

namespace ostrel::kinds {

// Up volume less down volume of the cross-section, accumulated bar by bar.
class CumulativeVolumeIndex final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override { return line_.step(f); }
    std::size_t warmup_period() const override { return 1; }

private:
    core::BreadthVolumeLine line_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_CumulativeVolumeIndex(std::span<const double>) { return box_kind(kinds::CumulativeVolumeIndex{}); }

}  // namespace ostrel::catalogue
