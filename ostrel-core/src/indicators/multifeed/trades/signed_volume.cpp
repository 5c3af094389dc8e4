#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"

namespace ostrel::kinds {

// Signed size of the bar's last trade: + for a buy, - for a sell.
class SignedVolume final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const Trade* t = core::last_trade(f);
        if (!t) return std::nullopt;
        return core::signed_size(*t);
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_SignedVolume(std::span<const double>) { return box_kind(kinds::SignedVolume{}); }

}  // namespace ostrel::catalogue
