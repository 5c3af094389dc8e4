#include "catalogue/params.hpp"
#include "indicators/core/aroon_window.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Aroon up and down lines; yields the up line.
class Aroon final : public Indicator {
public:
    explicit Aroon(core::AroonWindow w) : window_(std::move(w)), outputs_({"up", "down"}) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        auto v = window_.step(*c);
        if (!v) return std::nullopt;
        outputs_.store({v->up, v->down});
        return v->up;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return window_.period() + 1; }

private:
    core::AroonWindow window_;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Aroon(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Aroon"));
    return box_kind<kinds::Aroon>("Aroon", core::AroonWindow::make(period));
}

}  // namespace ostrel::catalogue
