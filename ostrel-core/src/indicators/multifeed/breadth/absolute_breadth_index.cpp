#include <cmath>
#include <cstdint>

#include "catalogue/params.hpp"
#include "indicators/core/breadth.hpp"

namespace ostrel::kinds {

// |advances - declines| of the bar.
class AbsoluteBreadthIndex final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto c = core::BreadthCounts::of(f);
        if (!c) return std::nullopt;
        const std::int64_t d = c->advances - c->declines;
        return static_cast<double>(d < 0 ? -d : d);
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AbsoluteBreadthIndex(std::span<const double>) { return box_kind(kinds::AbsoluteBreadthIndex{}); }

}  // namespace ostrel::catalogue
