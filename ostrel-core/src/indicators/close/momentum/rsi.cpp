#include "catalogue/params.hpp"
#include "indicators/core/min_max.hpp"
#include "indicators/core/rsi.hpp"

namespace ostrel::kinds {

class Rsi final : public Indicator {
public:
    explicit Rsi(core::Rsi s) : rsi_(std::move(s)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto r = rsi_.step(f.candle.close);
        if (!r) return std::nullopt;
        // Neither average is negative, so the exact index is at most 100; with no
        // losses the division can read a rounding above. Read here, not in the core,
        // so the kinds that build on the core take the index as computed.
        const double result = core::not_above(*r, 100.0);
        return result;
    }
    std::size_t warmup_period() const override { return rsi_.warmup_period(); }

private:
    core::Rsi rsi_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Rsi(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Rsi"));
    return box_kind<kinds::Rsi>("Rsi", core::Rsi::make(period));
}

}  // namespace ostrel::catalogue
