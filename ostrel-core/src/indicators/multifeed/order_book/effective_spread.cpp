#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"

namespace ostrel::kinds {

// Effective spread of the bar's last trade in basis points of the reference mid:
// 10000 x 2 x sign x (price - mid) / mid.
class EffectiveSpread final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Trade* t = core::last_trade(f);
        if (!t) return std::nullopt;
        const auto mid = core::reference_mid(f);
        if (!mid) return std::nullopt;
        return 10000.0 * 2.0 * core::trade_sign(*t) * (t->price - *mid) / *mid;
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_EffectiveSpread(std::span<const double>) { return box_kind(kinds::EffectiveSpread{}); }

}  // namespace ostrel::catalogue
