#include <utility>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/sma.hpp"
#include "indicators/core/volume_lines.hpp"

namespace ostrel::kinds {

// The Williams accumulation/distribution total minus its 13-value simple average.
class AdOscillator final : public Indicator {
public:
    static constexpr std::size_t AVERAGE_LENGTH = 13;

    AdOscillator() : avg_(*core::Sma::make(AVERAGE_LENGTH)) {}

    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto total = total_.step(c->high, c->low, c->close);
        if (!total) return std::nullopt;
        auto avg = avg_.step(*total);
        if (!avg) return std::nullopt;
        return *total - *avg;
    }
    std::size_t warmup_period() const override { return AVERAGE_LENGTH + 1; }

private:
    core::WilliamsAccumulation total_;
    core::Sma avg_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AdOscillator(std::span<const double>) { return box_kind(kinds::AdOscillator{}); }

}  // namespace ostrel::catalogue
