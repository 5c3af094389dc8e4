#include <cstdint>

#include "catalogue/params.hpp"
#include "indicators/core/breadth.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::kinds {

// Up volume over down volume, the down volume raised to at least 1 (a NaN
// down volume gives 1).
class UpDownVolumeRatio final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto c = core::BreadthCounts::of(f);
        if (!c) return std::nullopt;
        return c->up_volume / core::max_ignoring_nan(c->down_volume, 1.0);
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_UpDownVolumeRatio(std::span<const double>) { return box_kind(kinds::UpDownVolumeRatio{}); }

}  // namespace ostrel::catalogue
