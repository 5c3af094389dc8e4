#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/volume_weighted_window.hpp"

namespace ostrel::kinds {

// Volume-weighted mean of the last `period` closes.
class Vwma final : public Indicator {
public:
    explicit Vwma(core::VolumeWeightedWindow w) : window_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        return window_.push(c->close, c->volume);
    }
    std::size_t warmup_period() const override { return window_.period(); }

private:
    core::VolumeWeightedWindow window_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Vwma(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Vwma"));
    return box_kind<kinds::Vwma>("Vwma", core::VolumeWeightedWindow::make(period));
}

}  // namespace ostrel::catalogue
