#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"

namespace ostrel::kinds {

// Close over the reference value (a leverage proxy); 0 unless the reference is
// above 0.
class EstimatedLeverageRatio final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        if (!(in->y > 0.0)) return 0.0;
        return in->x / in->y;
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_EstimatedLeverageRatio(std::span<const double>) { return box_kind(kinds::EstimatedLeverageRatio{}); }

}  // namespace ostrel::catalogue
