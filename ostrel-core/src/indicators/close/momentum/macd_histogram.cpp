#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/macd_histogram.hpp"

namespace ostrel::kinds {

// MACD line minus its signal line.
class MacdHistogram final : public Indicator {
public:
    explicit MacdHistogram(core::MacdHistogram s) : macd_(std::move(s)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        return macd_.step(close);
    }
    std::size_t warmup_period() const override { return macd_.warmup_period(); }

private:
    core::MacdHistogram macd_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_MacdHistogram(std::span<const double> p) {
    OSTREL_TRY(fast_period, param_usize(p, 0, "MacdHistogram"));
    OSTREL_TRY(slow_period, param_usize(p, 1, "MacdHistogram"));
    OSTREL_TRY(signal_period, param_usize(p, 2, "MacdHistogram"));
    return box_kind<kinds::MacdHistogram>("MacdHistogram",
                                          core::MacdHistogram::make(fast_period, slow_period, signal_period));
}

}  // namespace ostrel::catalogue
