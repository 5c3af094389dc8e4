#include "catalogue/params.hpp"
#include "indicators/core/awesome_oscillator.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Change of the awesome oscillator over `signal` bars.
class AwesomeOscillatorHistogram final : public Indicator {
public:
    static Expected<AwesomeOscillatorHistogram, IndicatorError> make(std::size_t fast, std::size_t slow,
                                                                     std::size_t signal) {
        if (fast == 0 || slow == 0 || signal == 0) return IndicatorError::zero_period();
        if (fast >= slow) {
            return IndicatorError::invalid_period("AwesomeOscillatorHistogram fast must be strictly less than slow");
        }
        OSTREL_TRY(ao, core::AwesomeOscillator::make(fast, slow));
        // The ring holds signal + 1 values: a ring longer than any other window is
        // refused rather than risking an allocation that cannot succeed.
        if (signal >= MAX_PERIOD) return IndicatorError::too_long();
        return AwesomeOscillatorHistogram(std::move(ao), signal);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto ao = ao_.step(c->high, c->low);
        if (!ao) return std::nullopt;
        values_.push(*ao);
        if (values_.size() <= signal_) return std::nullopt;
        double old = values_.oldest();
        values_.pop_oldest();
        return *ao - old;
    }
    std::size_t warmup_period() const override { return ao_.slow() + signal_; }

private:
    AwesomeOscillatorHistogram(core::AwesomeOscillator ao, std::size_t signal)
        : values_(signal + 1), ao_(std::move(ao)), signal_(signal) {}

    core::Ring<double> values_;
    core::AwesomeOscillator ao_;
    std::size_t signal_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AwesomeOscillatorHistogram(std::span<const double> p) {
    OSTREL_TRY(fast, param_usize(p, 0, "AwesomeOscillatorHistogram"));
    OSTREL_TRY(slow, param_usize(p, 1, "AwesomeOscillatorHistogram"));
    OSTREL_TRY(signal, param_usize(p, 2, "AwesomeOscillatorHistogram"));
    return box_kind<kinds::AwesomeOscillatorHistogram>(
        "AwesomeOscillatorHistogram", kinds::AwesomeOscillatorHistogram::make(fast, slow, signal));
}

}  // namespace ostrel::catalogue
