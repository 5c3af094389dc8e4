#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ppo.hpp"

namespace ostrel::kinds {

// PPO minus its exponential signal line.
class PpoHistogram final : public Indicator {
public:
    static Expected<PpoHistogram, IndicatorError> make(std::size_t fast_period, std::size_t slow_period,
                                                       std::size_t signal_period) {
        OSTREL_TRY(signal, core::Ema::make(signal_period));
        OSTREL_TRY(ppo, core::Ppo::make(fast_period, slow_period));
        return PpoHistogram(std::move(ppo), std::move(signal));
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        const auto ppo = ppo_.step(close);
        if (!ppo || !std::isfinite(*ppo)) return std::nullopt;
        const auto s = signal_.step(*ppo);
        if (!s) return std::nullopt;
        const double result = *ppo - *s;
        last_histogram_ = result;
        return result;
    }
    std::size_t warmup_period() const override { return ppo_.slow_period() + signal_.period() - 1; }

private:
    PpoHistogram(core::Ppo ppo, core::Ema signal) : ppo_(std::move(ppo)), signal_(std::move(signal)) {}

    core::Ppo ppo_;
    std::optional<double> last_histogram_;
    core::Ema signal_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_PpoHistogram(std::span<const double> p) {
    OSTREL_TRY(fast_period, param_usize(p, 0, "PpoHistogram"));
    OSTREL_TRY(slow_period, param_usize(p, 1, "PpoHistogram"));
    OSTREL_TRY(signal_period, param_usize(p, 2, "PpoHistogram"));
    return box_kind<kinds::PpoHistogram>("PpoHistogram",
                                         kinds::PpoHistogram::make(fast_period, slow_period, signal_period));
}

}  // namespace ostrel::catalogue
