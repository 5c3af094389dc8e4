#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/volume_lines.hpp"

namespace ostrel::kinds {

// Williams accumulation/distribution: nothing on the first candle, then the running
// total of the true-range-bounded close moves.
class Wad final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        return total_.step(c->high, c->low, c->close);
    }
    std::size_t warmup_period() const override { return 2; }

private:
    core::WilliamsAccumulation total_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Wad(std::span<const double>) { return box_kind(kinds::Wad{}); }

}  // namespace ostrel::catalogue
