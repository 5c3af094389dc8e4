// The Hilbert-transform chain of the dominant-cycle measures: smoothed price,
// detrender, in-phase and quadrature components, homodyne discriminator, and the
// bounded and smoothed cycle period; plus the dominant-cycle phase, a one-cycle
// Fourier sum of the smoothed prices over the `dc_phasor` table.
#pragma once

#include <array>
#include <cstddef>
#include <optional>

#include "indicators/core/equal_run.hpp"

namespace ostrel::core {

// The last N values, newest first (index 0 is the newest); storage is fixed.
template <std::size_t N>
class NewestFirst {
public:
    void push(double x) {
        head_ = head_ == 0 ? N - 1 : head_ - 1;
        v_[head_] = x;
        if (n_ < N) ++n_;
    }
    std::size_t size() const { return n_; }
    bool full() const { return n_ == N; }
    double operator[](std::size_t k) const {
        std::size_t i = head_ + k;
        return v_[i >= N ? i - N : i];
    }

private:
    std::array<double, N> v_{};
    std::size_t head_ = 0;
    std::size_t n_ = 0;
};

// How far one step of the chain went.
enum class ChainStage {
    Counted,   // fewer than 4 closes: only counted
    Smoothed,  // a smoothed price was formed; the components are not complete yet
    Measured,  // the period and the smoothed period were updated
};

class HilbertChain {
public:
    // One finite close.
    ChainStage step(double x);

    std::size_t count() const { return count_; }
    // The smoothed price of the last step that reached `Smoothed`.
    double smooth() const { return smooth_[0]; }
    double in_phase() const { return i1_[0]; }
    double quadrature() const { return q1_[0]; }
    double period() const { return period_; }
    double smooth_period() const { return smooth_period_; }

private:
    // 0.0962 h0 + 0.5769 h2 - 0.5769 h4 - 0.0962 h6, left to right.
    static double hilbert(const NewestFirst<7>& h) {
        return 0.0962 * h[0] + 0.5769 * h[2] - 0.5769 * h[4] - 0.0962 * h[6];
    }

    NewestFirst<4> prices_;
    NewestFirst<7> smooth_, detrender_, q1_, i1_;
    double i2_ = 0.0, q2_ = 0.0, re_ = 0.0, im_ = 0.0;
    double period_ = 0.0, smooth_period_ = 0.0;
    std::size_t count_ = 0;
};

// The smoothed prices that the phase sum reads (the newest 50).
using PhaseHistory = NewestFirst<50>;

struct DcPhase {
    double phase;   // degrees, at most 315
    std::size_t n;  // the dominant cycle length used, in [1, history size]
};

// Phase of the dominant cycle: the rounded smoothed period, limited to the history
// held, sets the length of a one-cycle Fourier sum over the newest smoothed prices.
DcPhase dc_phase(const PhaseHistory& history, double smooth_period);

// The phase in degrees from the Fourier sums `real` and `imag` of the smoothed prices.
double phase_of(double real, double imag, double smooth_period);

// The chain of the phase kinds: every smoothed price also enters the phase history.
struct PhaseChain {
    // One finite close; the phase on every step that measured the period.
    std::optional<DcPhase> step(double x) {
        const ChainStage stage = chain.step(x);
        if (stage != ChainStage::Counted) {
            history.push(chain.smooth());
            equal_smooth.push(chain.smooth());
        }
        if (stage != ChainStage::Measured) return std::nullopt;
        return dc_phase(history, chain.smooth_period());
    }

    // The phase of `dc` as exact sums give it: over n >= 2 equal smoothed prices the
    // sines and cosines of a whole cycle add up to exactly 0 (Real = Imag = 0), where
    // the rounded sums leave a residue whose sign would turn the phase by 180 degrees.
    double exact_phase(const DcPhase& dc) const {
        if (dc.n >= 2 && equal_smooth.covers(dc.n)) return phase_of(0.0, 0.0, chain.smooth_period());
        return dc.phase;
    }

    HilbertChain chain;
    PhaseHistory history;
    EqualRun equal_smooth;  // over the smoothed prices of the history
};

// Values of the dominant-cycle kinds begin with this many finite closes.
inline constexpr std::size_t kDominantCycleWarmup = 50;

}  // namespace ostrel::core
