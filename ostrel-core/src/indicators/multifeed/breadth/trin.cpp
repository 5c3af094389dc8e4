#include <cstdint>

#include "catalogue/params.hpp"
#include "indicators/core/breadth.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::kinds {

// Arms index: the advance/decline ratio over the up/down volume ratio, each
// divisor and volume raised to at least 1.
class Trin final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto c = core::BreadthCounts::of(f);
        if (!c) return std::nullopt;
        return c->advance_decline_ratio() /
               (core::max_ignoring_nan(c->up_volume, 1.0) / core::max_ignoring_nan(c->down_volume, 1.0));
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Trin(std::span<const double>) { return box_kind(kinds::Trin{}); }

}  // namespace ostrel::catalogue
