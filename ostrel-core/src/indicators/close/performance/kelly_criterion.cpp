#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_window.hpp"
#include "indicators/core/win_loss_tally.hpp"

namespace ostrel::kinds {

// Kelly fraction W - (1 - W) / R from the window's win fraction W and payoff ratio R
// (average gain over average loss).
class KellyCriterion final : public Indicator {
public:
    explicit KellyCriterion(core::RollingWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!w_.push_finite(f.candle.close)) return std::nullopt;
        const auto [wins, losses, gains, lost] = core::WinLossTally::of(w_.window);
        const double win_fraction = static_cast<double>(wins) / static_cast<double>(w_.period);
        if (losses == 0) return win_fraction;
        if (wins == 0) return -1.0;
        double payoff = (gains / static_cast<double>(wins)) / (lost / static_cast<double>(losses));
        return win_fraction - (1.0 - win_fraction) / payoff;
    }
    std::size_t warmup_period() const override { return w_.period; }

private:
    core::RollingWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_KellyCriterion(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "KellyCriterion"));
    return box_kind<kinds::KellyCriterion>("KellyCriterion", core::RollingWindow::make(period));
}

}  // namespace ostrel::catalogue
