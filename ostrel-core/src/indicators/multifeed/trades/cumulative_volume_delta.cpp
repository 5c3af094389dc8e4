#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"

namespace ostrel::kinds {

// Running total of signed trade sizes since the start, trade by trade.
class CumulativeVolumeDelta final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const bool any = core::for_each_trade(f, [&](const Trade& t) { total_ = total_ + core::signed_size(t); });
        if (!any) return std::nullopt;
        return total_;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    double total_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_CumulativeVolumeDelta(std::span<const double>) { return box_kind(kinds::CumulativeVolumeDelta{}); }

}  // namespace ostrel::catalogue
