#include "catalogue/params.hpp"
#include "indicators/core/rvi_volatility.hpp"

namespace ostrel::kinds {

class RviVolatility final : public Indicator {
public:
    explicit RviVolatility(core::RviVolatility s) : rvi_(std::move(s)) {}
    std::optional<double> update(const FeedSnapshot& f) override { return rvi_.step(f.candle.close); }
    std::size_t warmup_period() const override { return rvi_.warmup_period(); }

private:
    core::RviVolatility rvi_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RviVolatility(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "RviVolatility"));
    return box_kind<kinds::RviVolatility>("RviVolatility", core::RviVolatility::make(period));
}

}  // namespace ostrel::catalogue
