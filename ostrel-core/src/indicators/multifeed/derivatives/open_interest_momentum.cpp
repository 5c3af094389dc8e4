#include "catalogue/params.hpp"
#include "indicators/core/lag_window.hpp"

namespace ostrel::kinds {

// Percentage change of open interest over `period` records; 0 when the open
// interest `period` records back is not above 0.
class OpenInterestMomentum final : public Indicator {
public:
    explicit OpenInterestMomentum(core::LagWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.derivatives) return std::nullopt;
        const double oi = f.derivatives->open_interest;
        const auto back = w_.push(oi);
        if (!back) return std::nullopt;
        const double o = *back;
        w_.last = o > 0.0 ? 100.0 * (oi - o) / o : 0.0;
        return w_.last;
    }
    std::size_t warmup_period() const override { return w_.period() + 1; }

private:
    core::LagWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_OpenInterestMomentum(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "OpenInterestMomentum"));
    return box_kind<kinds::OpenInterestMomentum>("OpenInterestMomentum", core::LagWindow::make(period));
}

}  // namespace ostrel::catalogue
