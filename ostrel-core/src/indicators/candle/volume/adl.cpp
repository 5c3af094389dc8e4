#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/money_flow_volume.hpp"

namespace ostrel::kinds {

// Accumulation/distribution line: each candle adds its volume weighted by where the
// close lies in the range, from -1 at the low to +1 at the high; a candle without
// range adds nothing.
class Adl final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        // A candle without range contributes +0, which leaves the total as it was:
        // the total starts at +0 and so is never -0.
        total_ = total_ + core::money_flow_volume(*c);
        return total_;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    double total_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Adl(std::span<const double>) { return box_kind(kinds::Adl{}); }

}  // namespace ostrel::catalogue
