#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/range_volatility.hpp"

namespace ostrel::kinds {

// Garman-Klass volatility: per bar ln(H/L)^2 / 2 - (2 ln 2 - 1) ln(C/O)^2.
class GarmanKlassVolatility final : public Indicator {
public:
    explicit GarmanKlassVolatility(core::RangeVolatility s) : s_(std::move(s)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        double hl = std::log(c->high / c->low);
        double co = std::log(c->close / c->open);
        double term = hl * (hl * 0.5) + co * (co * -0.3862943611198906);
        auto sum = s_.push(term);
        if (!sum) return std::nullopt;
        return s_.annualised_percent(*sum / static_cast<double>(s_.period()));
    }
    std::size_t warmup_period() const override { return s_.period(); }

private:
    core::RangeVolatility s_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_GarmanKlassVolatility(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "GarmanKlassVolatility"));
    OSTREL_TRY(annualization, param_usize(p, 1, "GarmanKlassVolatility"));
    return box_kind<kinds::GarmanKlassVolatility>("GarmanKlassVolatility",
                                                  core::RangeVolatility::make(period, annualization));
}

}  // namespace ostrel::catalogue
