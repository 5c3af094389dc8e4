#include <cmath>
#include <cstdint>

#include "catalogue/params.hpp"
#include "indicators/core/breadth.hpp"

namespace ostrel::kinds {

// Instruments at a new high less those at a new low.
class NewHighsNewLows final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto c = core::BreadthCounts::of(f);
        if (!c) return std::nullopt;
        return static_cast<double>(c->new_highs - c->new_lows);
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_NewHighsNewLows(std::span<const double>) { return box_kind(kinds::NewHighsNewLows{}); }

}  // namespace ostrel::catalogue
