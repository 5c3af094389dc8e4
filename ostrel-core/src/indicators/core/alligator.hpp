// The three smoothed lines of the median price (jaw, teeth, lips). Each line is
// seeded with the plain mean of its first `period` medians, then moves as
// (m + value * (n - 1)) / n with the product and the sum rounded separately. No line
// is shifted forward.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"

namespace ostrel::core {

struct AlligatorLines {
    double jaw;
    double teeth;
    double lips;
};

class Alligator {
public:
    static Expected<Alligator, IndicatorError> make(std::size_t jaw, std::size_t teeth, std::size_t lips) {
        if (jaw == 0 || teeth == 0 || lips == 0) return IndicatorError::zero_period();
        if (jaw > MAX_PERIOD || teeth > MAX_PERIOD || lips > MAX_PERIOD) return IndicatorError::too_long();
        return Alligator(jaw, teeth, lips);
    }

    // Takes the high and low of a checked candle.
    std::optional<AlligatorLines> step(double high, double low) {
        double m = midpoint(high, low);
        if (!std::isfinite(m)) return std::nullopt;
        lips_.step(m);
        teeth_.step(m);
        jaw_.step(m);
        if (!(jaw_.seeded && teeth_.seeded && lips_.seeded)) return std::nullopt;
        return AlligatorLines{jaw_.value, teeth_.value, lips_.value};
    }

    std::size_t jaw_period() const { return jaw_.period; }
    std::size_t teeth_period() const { return teeth_.period; }
    std::size_t lips_period() const { return lips_.period; }

private:
    // One line. Its seed values are only ever summed in arrival order, so the count
    // and the running sum stand in for a window of them.
    struct Line {
        explicit Line(std::size_t p) : period(p), n(static_cast<double>(p)) {}
        void step(double m) {
            if (seeded) {
                value = (m + value * (n + (-1.0))) / n;
                return;
            }
            seed_sum = m + seed_sum;
            if (++seed_count == period) {
                value = seed_sum / static_cast<double>(seed_count);
                seeded = true;
            }
        }
        std::size_t period;
        double n;
        double seed_sum = 0.0;
        std::size_t seed_count = 0;
        double value = 0.0;
        bool seeded = false;
    };

    Alligator(std::size_t jaw, std::size_t teeth, std::size_t lips) : jaw_(jaw), teeth_(teeth), lips_(lips) {}

    Line jaw_;
    Line teeth_;
    Line lips_;
};

}  // namespace ostrel::core
