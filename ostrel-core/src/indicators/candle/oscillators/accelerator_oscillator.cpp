#include "catalogue/params.hpp"
#include "indicators/core/awesome_oscillator.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::kinds {

// The awesome oscillator minus its own simple average over `signal` values.
class AcceleratorOscillator final : public Indicator {
public:
    static Expected<AcceleratorOscillator, IndicatorError> make(std::size_t fast, std::size_t slow,
                                                                std::size_t signal) {
        OSTREL_TRY(ao, core::AwesomeOscillator::make(fast, slow));
        OSTREL_TRY(sig, core::Sma::make(signal));
        return AcceleratorOscillator(std::move(ao), std::move(sig));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto ao = ao_.step(c->high, c->low);
        if (!ao) return std::nullopt;
        auto avg = signal_.step(*ao);
        if (!avg) return std::nullopt;
        return *ao - *avg;
    }
    std::size_t warmup_period() const override { return ao_.slow() + signal_.period() - 1; }

private:
    AcceleratorOscillator(core::AwesomeOscillator ao, core::Sma signal)
        : ao_(std::move(ao)), signal_(std::move(signal)) {}

    core::AwesomeOscillator ao_;
    core::Sma signal_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AcceleratorOscillator(std::span<const double> p) {
    OSTREL_TRY(fast, param_usize(p, 0, "AcceleratorOscillator"));
    OSTREL_TRY(slow, param_usize(p, 1, "AcceleratorOscillator"));
    OSTREL_TRY(signal, param_usize(p, 2, "AcceleratorOscillator"));
    return box_kind<kinds::AcceleratorOscillator>("AcceleratorOscillator",
                                                   kinds::AcceleratorOscillator::make(fast, slow, signal));
}

}  // namespace ostrel::catalogue
