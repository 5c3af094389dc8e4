#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/cmo.hpp"

namespace ostrel::kinds {

// Chande momentum oscillator over the last `period` moves. A window of equal closes
// has no move up or down and gives exactly 0, whatever residue the core's running
// sums keep (the core tells a window without moves).
class Cmo final : public Indicator {
public:
    static Expected<Cmo, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Cmo(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;  // the core takes nothing either
        const auto v = cmo_.step(close);
        if (!v) return std::nullopt;
        return *v;
    }
    std::size_t warmup_period() const override { return cmo_.period() + 1; }

private:
    explicit Cmo(std::size_t period) : cmo_(period) {}
    core::Cmo cmo_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Cmo(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Cmo"));
    return box_kind<kinds::Cmo>("Cmo", kinds::Cmo::make(period));
}

}  // namespace ostrel::catalogue
