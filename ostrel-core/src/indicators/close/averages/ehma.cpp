#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ema.hpp"
#include "indicators/core/hull_stages.hpp"

namespace ostrel::kinds {

// Hull average on exponential stages: ema(round(sqrt(period))) of 2 ema(period/2) - ema(period).
class Ehma final : public Indicator {
public:
    static Expected<Ehma, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Ehma(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto d = stages_.difference(f.candle.close);
        if (!d) return std::nullopt;
        if (!std::isfinite(*d)) return std::nullopt;
        return stages_.smooth(*d);
    }
    std::size_t warmup_period() const override { return stages_.warmup_period(); }

private:
    explicit Ehma(std::size_t period) : stages_(period) {}
    core::HullStages<core::Ema> stages_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Ehma(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Ehma"));
    return box_kind<kinds::Ehma>("Ehma", kinds::Ehma::make(period));
}

}  // namespace ostrel::catalogue
