#include "catalogue/params.hpp"
#include "indicators/core/ema.hpp"

namespace ostrel::kinds {

class Ema final : public Indicator {
public:
    explicit Ema(core::Ema s) : ema_(std::move(s)) {}
    std::optional<double> update(const FeedSnapshot& f) override { return ema_.step(f.candle.close); }
    std::size_t warmup_period() const override { return ema_.period(); }

private:
    core::Ema ema_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Ema(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Ema"));
    return box_kind<kinds::Ema>("Ema", core::Ema::make(period));
}

}  // namespace ostrel::catalogue
