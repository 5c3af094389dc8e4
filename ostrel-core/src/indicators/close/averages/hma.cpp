#include "catalogue/params.hpp"
#include "indicators/core/hull_stages.hpp"
#include "indicators/core/wma.hpp"

namespace ostrel::kinds {

// Hull average: a weighted average of round(sqrt(period)) values of 2 wma(period/2) - wma(period).
class Hma final : public Indicator {
public:
    static Expected<Hma, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Hma(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        auto d = stages_.difference(f.candle.close);
        if (!d) return std::nullopt;
        return stages_.smooth(*d);
    }
    std::size_t warmup_period() const override { return stages_.warmup_period(); }

private:
    explicit Hma(std::size_t period) : stages_(period) {}
    core::HullStages<core::Wma> stages_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Hma(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Hma"));
    return box_kind<kinds::Hma>("Hma", kinds::Hma::make(period));
}

}  // namespace ostrel::catalogue
