#include <cmath>

#include "catalogue/params.hpp"

namespace ostrel::kinds {

// A stop one brick behind an anchor that moves by whole bricks with the close; a
// close more than one brick against the anchor reverses the side and re-anchors at
// that close. Reads the close alone.
class RenkoTrailingStop final : public Indicator {
public:
    static Expected<RenkoTrailingStop, IndicatorError> make(double brick_size) {
        if (!std::isfinite(brick_size) || !(brick_size > 0.0)) return IndicatorError::non_positive_multiplier();
        return RenkoTrailingStop(brick_size);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const double c = f.candle.close;
        if (!std::isfinite(c)) return std::nullopt;
        const double b = brick_;
        if (!anchor_) {
            anchor_ = c;
            return c - b;
        }
        double anchor = *anchor_;
        if (is_long_) {
            if (c < anchor - b) {
                is_long_ = false;
                anchor_ = c;
                return c + b;
            }
            double n = std::floor((c - anchor) / b);
            if (n >= 1.0) anchor = anchor + b * n;
            anchor_ = anchor;
            return anchor - b;
        }
        if (c > anchor + b) {
            is_long_ = true;
            anchor_ = c;
            return c - b;
        }
        double n = std::floor((anchor - c) / b);
        if (n >= 1.0) anchor = anchor - b * n;
        anchor_ = anchor;
        return anchor + b;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    explicit RenkoTrailingStop(double brick_size) : brick_(brick_size) {}

    std::optional<double> anchor_;
    double brick_;
    bool is_long_ = true;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_RenkoTrailingStop(std::span<const double> p) {
    OSTREL_TRY(brick_size, param_f64(p, 0, "RenkoTrailingStop"));
    return box_kind<kinds::RenkoTrailingStop>("RenkoTrailingStop", kinds::RenkoTrailingStop::make(brick_size));
}

}  // namespace ostrel::catalogue
