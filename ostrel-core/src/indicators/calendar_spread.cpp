#include "catalogue/params.hpp"

namespace ostrel::kinds {

// Futures price against the mark price, as a fraction of the mark (no guard).
class CalendarSpread final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.derivatives) return std::nullopt;
        const DerivativesTick& d = *f.derivatives;
        return (d.futures_price - d.mark_price) / d.mark_price;
    }
    std::size_t warmup_period() const override { return 1; }
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_CalendarSpread(std::span<const double>) { return box_kind(kinds::CalendarSpread{}); }

}  // namespace ostrel::catalogue
