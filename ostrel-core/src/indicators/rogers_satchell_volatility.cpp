#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/range_volatility.hpp"

namespace ostrel::kinds {

// Rogers-Satchell volatility: per bar ln(H/C) ln(H/O) + ln(L/C) ln(L/O).
class RogersSatchellVolatility final : public Indicator {
public:
    explicit RogersSatchellVolatility(core::RangeVolatility s) : s_(std::move(s)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto sum = s_.push(core::rogers_satchell_term(*c));
        if (!sum) return std::nullopt;
        return s_.annualised_percent(*sum / static_cast<double>(s_.period()));
    }
    std::size_t warmup_period() const override { return s_.period(); }

private:
    core::RangeVolatility s_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RogersSatchellVolatility(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "RogersSatchellVolatility"));
    OSTREL_TRY(annualization, param_usize(p, 1, "RogersSatchellVolatility"));
    return box_kind<kinds::RogersSatchellVolatility>("RogersSatchellVolatility",
                                                     core::RangeVolatility::make(period, annualization));
}

}  // namespace ostrel::catalogue
