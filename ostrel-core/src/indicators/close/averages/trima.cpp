#include "catalogue/params.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::kinds {

// Triangular average: an Sma of period - period/2 closes, then an Sma of
// period/2 + 1 of those averages.
class Trima final : public Indicator {
public:
    static Expected<Trima, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Trima(*core::Sma::make(period - period / 2), *core::Sma::make(period / 2 + 1), period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto v = first_.step(f.candle.close);
        if (!v) return std::nullopt;
        return second_.step(*v);
    }
    std::size_t warmup_period() const override { return period_; }

private:
    Trima(core::Sma a, core::Sma b, std::size_t period) : first_(std::move(a)), second_(std::move(b)), period_(period) {}
    core::Sma first_;
    core::Sma second_;
    std::size_t period_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Trima(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Trima"));
    return box_kind<kinds::Trima>("Trima", kinds::Trima::make(period));
}

}  // namespace ostrel::catalogue
