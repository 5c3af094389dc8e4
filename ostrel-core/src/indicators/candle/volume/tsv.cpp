#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/seeded_window.hpp"

namespace ostrel::kinds {

// Time segmented volume: the sum over the last `period` bars of volume times the
// change of the close, kept as a running sum without periodic re-summing. Built
// from the shared seeded-window state, whose period sizes the window. A window whose
// terms are all 0 sums to 0, not to the residue of the terms that left it.
class Tsv final : public Indicator {
public:
    explicit Tsv(core::SeededWindow s) : state_(s), window_(s.period) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        if (!prev_close_) {
            prev_close_ = c->close;
            return std::nullopt;
        }
        const double t = c->volume * (c->close - *prev_close_);
        prev_close_ = c->close;
        if (window_.full()) {
            sum_ = sum_ - window_.oldest();
            window_.pop_oldest();
        }
        window_.push(t);
        terms_.push(t);
        sum_ = t + sum_;
        if (!window_.full()) return std::nullopt;
        // A sum that is already 0 keeps its sign.
        if (sum_ != 0.0 && terms_.covers(state_.period)) return 0.0;
        return sum_;
    }
    std::size_t warmup_period() const override { return state_.period + 1; }

private:
    core::SeededWindow state_;
    std::optional<double> prev_close_;
    core::Ring<double> window_;
    double sum_ = 0.0;
    core::ZeroRun terms_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Tsv(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Tsv"));
    return box_kind<kinds::Tsv>("Tsv", core::SeededWindow::make(period));
}

}  // namespace ostrel::catalogue
