#include <cstdint>

#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Probability of informed trading in its order-imbalance form: |buys - sells| / n
// over the last n = `period` trades.
class Pin final : public Indicator {
public:
    static Expected<Pin, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return Pin(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const bool any = core::for_each_trade(f, [&](const Trade& t) {
            if (flags_.full()) {
                if (flags_.oldest() > 0.0) --buys_;
                flags_.pop_oldest();
            }
            if (t.is_sell) {
                flags_.push(0.0);
            } else {
                flags_.push(1.0);
                ++buys_;
            }
        });
        if (!any || !flags_.full()) return std::nullopt;
        const std::int64_t n = static_cast<std::int64_t>(flags_.capacity());
        const std::int64_t diff = 2 * buys_ - n;
        const double result = static_cast<double>(diff < 0 ? -diff : diff) / static_cast<double>(n);
        last_ = result;
        return result;
    }
    std::size_t warmup_period() const override { return flags_.capacity(); }

private:
    explicit Pin(std::size_t period) : flags_(period) {}

    core::Ring<double> flags_;
    std::int64_t buys_ = 0;
    std::optional<double> last_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Pin(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "Pin"));
    return box_kind<kinds::Pin>("Pin", kinds::Pin::make(period));
}

}  // namespace ostrel::catalogue
