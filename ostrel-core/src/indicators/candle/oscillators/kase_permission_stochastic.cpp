#include <cmath>
#include <limits>
#include <utility>

#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ema.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Stochastic of the window, smoothed into a fast line and the fast line smoothed
// again into a slow line.
class KasePermissionStochastic final : public Indicator {
public:
    static Expected<KasePermissionStochastic, IndicatorError> make(std::size_t period, std::size_t smooth) {
        if (auto e = check_period(period)) return *e;
        if (auto e = check_period(smooth)) return *e;
        return KasePermissionStochastic(period, smooth);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        window_.push({c->high, c->low});
        if (!window_.full()) return std::nullopt;
        double hh = -std::numeric_limits<double>::max();
        double ll = std::numeric_limits<double>::max();
        window_.for_each([&](const std::pair<double, double>& e) {
            if (e.first > hh) hh = e.first;
            if (e.second < ll) ll = e.second;
        });
        double raw = hh > ll ? (c->close - ll) * 100.0 / (hh - ll) : 50.0;
        if (!std::isfinite(raw)) return std::nullopt;
        auto fast = fast_.step(raw);
        if (!fast || !std::isfinite(*fast)) return std::nullopt;
        auto slow = slow_.step(*fast);
        if (!slow) return std::nullopt;
        outputs_.store({*fast, *slow});
        return *fast;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return period_ + 2 * smooth_ - 2; }

private:
    KasePermissionStochastic(std::size_t period, std::size_t smooth)
        : window_(period),
          fast_(*core::Ema::make(smooth)),
          slow_(*core::Ema::make(smooth)),
          period_(period),
          smooth_(smooth),
          outputs_({"fast", "slow"}) {}

    core::Ring<std::pair<double, double>> window_;  // (high, low)
    core::Ema fast_;
    core::Ema slow_;
    std::size_t period_;
    std::size_t smooth_;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_KasePermissionStochastic(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "KasePermissionStochastic"));
    OSTREL_TRY(smooth, param_usize(p, 1, "KasePermissionStochastic"));
    return box_kind<kinds::KasePermissionStochastic>("KasePermissionStochastic",
                                                      kinds::KasePermissionStochastic::make(period, smooth));
}

}  // namespace ostrel::catalogue
