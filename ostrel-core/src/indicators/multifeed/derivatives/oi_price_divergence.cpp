#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Relative change of open interest less relative change of the mark price over
// `period` records: (oi1 - oi0) / oi0 (0 when oi0 is 0) - (p1 - p0) / p0.
class OIPriceDivergence final : public Indicator {
public:
    static Expected<OIPriceDivergence, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return OIPriceDivergence(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.derivatives) return std::nullopt;
        window_.push({f.derivatives->open_interest, f.derivatives->mark_price});
        if (!window_.full()) return std::nullopt;
        const Point& first = window_.oldest();
        const Point& last = window_.newest();
        const double oi_change = first.oi == 0.0 ? 0.0 : (last.oi - first.oi) / first.oi;
        const double price_change = (last.price - first.price) / first.price;
        return oi_change - price_change;
    }
    std::size_t warmup_period() const override { return period_ + 1; }

private:
    struct Point {
        double oi = 0.0;
        double price = 0.0;
    };
    explicit OIPriceDivergence(std::size_t period) : window_(period + 1), period_(period) {}

    core::Ring<Point> window_;
    std::size_t period_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_OIPriceDivergence(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "OIPriceDivergence"));
    return box_kind<kinds::OIPriceDivergence>("OIPriceDivergence", kinds::OIPriceDivergence::make(period));
}

}  // namespace ostrel::catalogue
