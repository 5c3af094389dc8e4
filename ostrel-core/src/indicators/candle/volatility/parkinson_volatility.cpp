#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/range_volatility.hpp"

namespace ostrel::kinds {

// Parkinson volatility: per bar ln(H/L)^2, the window sum scaled by the literal
// 0.3606737602222412 (close to, but not exactly, 1 / (4 ln 2)).
class ParkinsonVolatility final : public Indicator {
public:
    explicit ParkinsonVolatility(core::RangeVolatility s) : s_(std::move(s)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        double hl = std::log(c->high / c->low);
        auto sum = s_.push(hl * hl);
        if (!sum) return std::nullopt;
        return s_.annualised_percent((*sum * 0.3606737602222412) / static_cast<double>(s_.period()));
    }
    std::size_t warmup_period() const override { return s_.period(); }

private:
    core::RangeVolatility s_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ParkinsonVolatility(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "ParkinsonVolatility"));
    OSTREL_TRY(annualization, param_usize(p, 1, "ParkinsonVolatility"));
    return box_kind<kinds::ParkinsonVolatility>("ParkinsonVolatility",
                                                core::RangeVolatility::make(period, annualization));
}

}  // namespace ostrel::catalogue
