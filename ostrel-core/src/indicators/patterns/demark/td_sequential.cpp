#include <utility>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/td_sequential.hpp"

namespace ostrel::kinds {

// DeMark sequential count: yields the signed setup count and publishes the setup,
// the countdown of the active direction and the direction (+1 buy, -1 sell, 0).
class TdSequential final : public Indicator {
public:
    explicit TdSequential(core::TdSequentialCore core) : core_(std::move(core)), outputs_({"setup", "countdown", "direction"}) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (!core_.step(*c)) return std::nullopt;
        const double setup = core_.setup_value();
        outputs_.store({setup, core_.countdown_value(), core_.direction_value()});
        return setup;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return core_.warmup_period(); }

private:
    core::TdSequentialCore core_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TdSequential(std::span<const double> p) {
    OSTREL_TRY(setup_lookback, param_usize(p, 0, "TdSequential"));
    OSTREL_TRY(setup_length, param_usize(p, 1, "TdSequential"));
    OSTREL_TRY(countdown_lookback, param_usize(p, 2, "TdSequential"));
    OSTREL_TRY(countdown_length, param_usize(p, 3, "TdSequential"));
    return box_kind<kinds::TdSequential>(
        "TdSequential", core::TdSequentialCore::make(setup_lookback, setup_length, countdown_lookback,
                                                     countdown_length, core::TdSequentialCore::Rule::Sequential));
}

}  // namespace ostrel::catalogue
