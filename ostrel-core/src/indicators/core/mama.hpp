// MESA adaptive moving average core: a Hilbert-transform estimate of the dominant
// cycle drives the smoothing factor of two averages (mama and its follower fama).
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/indicator.hpp"

namespace ostrel::core {

struct MamaOut {
    double mama;
    double fama;
};

class Mama {
public:
    // Both limits finite with 0 < slow_limit <= fast_limit <= 1.
    static Expected<Mama, IndicatorError> make(double fast_limit, double slow_limit) {
        if (!(std::isfinite(fast_limit) && std::isfinite(slow_limit) && 0.0 < slow_limit &&
              slow_limit <= fast_limit && fast_limit <= 1.0))
            return IndicatorError::invalid_period("fast_limit, slow_limit must satisfy 0 < slow_limit <= fast_limit <= 1");
        return Mama(fast_limit, slow_limit);
    }

    // The embedding kind checks the limits.
    Mama(double fast_limit, double slow_limit) : fast_limit_(fast_limit), slow_limit_(slow_limit) {}

    std::optional<MamaOut> step(double x);

    std::optional<MamaOut> last() const { return last_; }

private:
    // Newest-first list of at most N values.
    template <std::size_t N>
    struct Recent {
        double v[N] = {};
        std::size_t n = 0;
        void push_front(double x) {
            for (std::size_t i = (n < N ? n : N - 1); i > 0; --i) v[i] = v[i - 1];
            v[0] = x;
            if (n < N) ++n;
        }
        bool full() const { return n == N; }
        double operator[](std::size_t i) const { return v[i]; }
    };

    static double hilbert(const Recent<7>& l) {
        return ((0.0962 * l[0] + 0.5769 * l[2]) - 0.5769 * l[4]) - 0.0962 * l[6];
    }

    std::optional<MamaOut> last_;
    Recent<4> prices_;
    Recent<7> smoothed_, detrended_, quadrature_, in_phase_;
    double fast_limit_;
    double slow_limit_;
    double i2_ = 0.0, q2_ = 0.0, re_ = 0.0, im_ = 0.0, period_ = 0.0, phase_ = 0.0, mama_ = 0.0, fama_ = 0.0;
    std::size_t count_ = 0;
};

}  // namespace ostrel::core
