#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/cci_window.hpp"

namespace ostrel::kinds {

// Commodity channel index of the typical price; 0 for a window without deviation.
class Cci final : public Indicator {
public:
    explicit Cci(core::CciWindow w) : cci_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        return cci_.step(*c);
    }
    std::size_t warmup_period() const override { return cci_.period(); }

private:
    core::CciWindow cci_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Cci(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Cci"));
    return box_kind<kinds::Cci>("Cci", core::CciWindow::make(period));
}

}  // namespace ostrel::catalogue
