#include "catalogue/params.hpp"
#include "indicators/core/awesome_oscillator.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Fast minus slow simple average of the median price.
class AwesomeOscillator final : public Indicator {
public:
    explicit AwesomeOscillator(core::AwesomeOscillator ao) : ao_(std::move(ao)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        return ao_.step(c->high, c->low);
    }
    std::size_t warmup_period() const override { return ao_.slow(); }

private:
    core::AwesomeOscillator ao_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AwesomeOscillator(std::span<const double> p) {
    OSTREL_TRY(fast, param_usize(p, 0, "AwesomeOscillator"));
    OSTREL_TRY(slow, param_usize(p, 1, "AwesomeOscillator"));
    return box_kind<kinds::AwesomeOscillator>("AwesomeOscillator", core::AwesomeOscillator::make(fast, slow));
}

}  // namespace ostrel::catalogue
