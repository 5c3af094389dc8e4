#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/sorted_window.hpp"

namespace ostrel::kinds {

class MedianMa final : public Indicator {
public:
    static Expected<MedianMa, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return MedianMa(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        window_.push(close);
        if (!window_.full()) {
            last_.reset();
            return std::nullopt;
        }
        auto s = window_.sorted();
        const std::size_t n = window_.period();
        const double result = (n % 2 == 1) ? s[n / 2] : midpoint(s[n / 2 - 1], s[n / 2]);
        last_ = result;
        return result;
    }
    std::size_t warmup_period() const override { return window_.period(); }

private:
    explicit MedianMa(std::size_t period) : window_(period) {}
    core::SortedWindow window_;
    std::optional<double> last_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MedianMa(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "MedianMa"));
    return box_kind<kinds::MedianMa>("MedianMa", kinds::MedianMa::make(period));
}

}  // namespace ostrel::catalogue
