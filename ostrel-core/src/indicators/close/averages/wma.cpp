#include "catalogue/params.hpp"
#include "indicators/core/wma.hpp"

namespace ostrel::kinds {

class Wma final : public Indicator {
public:
    explicit Wma(core::Wma s) : wma_(std::move(s)) {}
    std::optional<double> update(const FeedSnapshot& f) override { return wma_.step(f.candle.close); }
    std::size_t warmup_period() const override { return wma_.period(); }

private:
    core::Wma wma_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Wma(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Wma"));
    return box_kind<kinds::Wma>("Wma", core::Wma::make(period));
}

}  // namespace ostrel::catalogue
