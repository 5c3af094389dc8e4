#include "catalogue/params.hpp"
#include "indicators/core/cmo.hpp"

namespace ostrel::kinds {

// Chande momentum oscillator over the last `period` moves.
class Cmo final : public Indicator {
public:
    static Expected<Cmo, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Cmo(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override { return cmo_.step(f.candle.close); }
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
