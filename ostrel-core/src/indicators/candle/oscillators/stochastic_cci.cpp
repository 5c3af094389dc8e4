#include <limits>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/cci_window.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Position of the current CCI within the range of its last `period` values, in
// percent; 50 when that range is empty.
class StochasticCci final : public Indicator {
public:
    explicit StochasticCci(core::CciWindow w) : cci_(std::move(w)), values_(cci_.period()) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto cci = cci_.step(*c);
        if (!cci) return std::nullopt;
        values_.push(*cci);
        if (!values_.full()) return std::nullopt;
        double lo = std::numeric_limits<double>::max();
        double hi = -std::numeric_limits<double>::max();
        values_.for_each([&](double v) {
            if (v < lo) lo = v;
            if (v > hi) hi = v;
        });
        double range = hi - lo;
        if (range == 0.0) return 50.0;
        return (*cci - lo) / range * 100.0;
    }
    std::size_t warmup_period() const override { return 2 * cci_.period() - 1; }

private:
    core::CciWindow cci_;
    core::Ring<double> values_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_StochasticCci(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "StochasticCci"));
    return box_kind<kinds::StochasticCci>("StochasticCci", core::CciWindow::make(period));
}

}  // namespace ostrel::catalogue
