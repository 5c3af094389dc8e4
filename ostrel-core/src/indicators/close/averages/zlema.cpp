#include "catalogue/params.hpp"
#include "indicators/core/zlema.hpp"

namespace ostrel::kinds {

class Zlema final : public Indicator {
public:
    explicit Zlema(core::Zlema z) : z_(std::move(z)) {}
    std::optional<double> update(const FeedSnapshot& f) override { return z_.step(f.candle.close); }
    std::size_t warmup_period() const override { return z_.period() + z_.lag(); }

private:
    core::Zlema z_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Zlema(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Zlema"));
    return box_kind<kinds::Zlema>("Zlema", core::Zlema::make(period));
}

}  // namespace ostrel::catalogue
