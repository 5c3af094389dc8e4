#include "catalogue/params.hpp"

namespace ostrel::kinds {

// The bar's long and short liquidations with their net, total and imbalance
// (net / total, 0 when the total is 0); the first output is the long figure.
class LiquidationFeatures final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.derivatives) return std::nullopt;
        const double longs = f.derivatives->long_liquidations;
        const double shorts = f.derivatives->short_liquidations;
        const double net = longs - shorts;
        const double total = longs + shorts;
        const double imbalance = total == 0.0 ? 0.0 : net / total;
        outputs_.store({longs, shorts, net, total, imbalance});
        return longs;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return 1; }

private:
    OutputSlots<5> outputs_{{"long", "short", "net", "total", "imbalance"}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_LiquidationFeatures(std::span<const double>) { return box_kind(kinds::LiquidationFeatures{}); }

}  // namespace ostrel::catalogue
