#include "catalogue/params.hpp"

namespace ostrel::kinds {

// Open-interest-weighted mark price over every record seen: sum(oi x mark) / sum(oi),
// or the current mark while the open interest seen so far sums to 0.
class OIWeighted final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.derivatives) return std::nullopt;
        const DerivativesTick& d = *f.derivatives;
        weighted_ = weighted_ + d.open_interest * d.mark_price;
        weight_ = weight_ + d.open_interest;
        if (weight_ == 0.0) return d.mark_price;
        return weighted_ / weight_;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    double weighted_ = 0.0;
    double weight_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_OIWeighted(std::span<const double>) { return box_kind(kinds::OIWeighted{}); }

}  // namespace ostrel::catalogue
