#include <cmath>
#include <limits>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_window.hpp"
#include "indicators/core/win_loss_tally.hpp"

namespace ostrel::kinds {

// Average gain of the window over its average loss.
class GainLossRatio final : public Indicator {
public:
    explicit GainLossRatio(core::RollingWindow w) : w_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!w_.push_finite(f.candle.close)) return std::nullopt;
        const auto [wins, losses, gains, lost] = core::WinLossTally::of(w_.window);
        if (losses == 0) return wins == 0 ? 1.0 : std::numeric_limits<double>::infinity();
        double avg_gain = wins == 0 ? 0.0 : gains / static_cast<double>(wins);
        return avg_gain / (lost / static_cast<double>(losses));
    }
    std::size_t warmup_period() const override { return w_.period; }

private:
    core::RollingWindow w_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_GainLossRatio(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "GainLossRatio"));
    return box_kind<kinds::GainLossRatio>("GainLossRatio", core::RollingWindow::make(period));
}

}  // namespace ostrel::catalogue
