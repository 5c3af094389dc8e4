#include "catalogue/params.hpp"
#include "indicators/core/breadth.hpp"
#include "indicators/core/ema.hpp"

namespace ostrel::kinds {

// Breadth thrust: exponential average of A / max(A + D, 1), seeded with the mean of
// its first `period` ratios.
class BreadthThrust final : public Indicator {
public:
    static Expected<BreadthThrust, IndicatorError> make(std::size_t period) {
        OSTREL_TRY(ema, core::Ema::make(period));
        return BreadthThrust(std::move(ema));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto c = core::BreadthCounts::of(f);
        if (!c) return std::nullopt;
        const std::int64_t total = c->advances + c->declines;
        return ema_.step(static_cast<double>(c->advances) / static_cast<double>(total > 1 ? total : 1));
    }
    std::size_t warmup_period() const override { return ema_.period(); }

private:
    explicit BreadthThrust(core::Ema ema) : ema_(std::move(ema)) {}

    core::Ema ema_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_BreadthThrust(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "BreadthThrust"));
    return box_kind<kinds::BreadthThrust>("BreadthThrust", kinds::BreadthThrust::make(period));
}

}  // namespace ostrel::catalogue
