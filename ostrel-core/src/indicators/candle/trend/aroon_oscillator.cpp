#include "catalogue/params.hpp"
#include "indicators/core/aroon_window.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Aroon up minus Aroon down, between -100 and 100.
class AroonOscillator final : public Indicator {
public:
    explicit AroonOscillator(core::AroonWindow w) : window_(std::move(w)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto v = window_.step(*c);
        if (!v) return std::nullopt;
        const double result = v->up - v->down;
        last_ = result;
        return result;
    }
    std::size_t warmup_period() const override { return window_.period() + 1; }

private:
    core::AroonWindow window_;
    std::optional<double> last_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AroonOscillator(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "AroonOscillator"));
    return box_kind<kinds::AroonOscillator>("AroonOscillator", core::AroonWindow::make(period));
}

}  // namespace ostrel::catalogue
