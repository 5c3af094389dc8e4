#include "catalogue/params.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::kinds {

class Sma final : public Indicator {
public:
    explicit Sma(core::Sma s) : sma_(std::move(s)) {}
    std::optional<double> update(const FeedSnapshot& f) override { return sma_.step(f.candle.close); }
    std::size_t warmup_period() const override { return sma_.period(); }

private:
    core::Sma sma_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Sma(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Sma"));
    return box_kind<kinds::Sma>("Sma", core::Sma::make(period));
}

}  // namespace ostrel::catalogue
