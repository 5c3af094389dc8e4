// Range-based volatility over a rolling window of per-bar terms built from the
// open, high, low and close (Garman-Klass, Parkinson, Rogers-Satchell): the window
// mean of the terms, annualised and in percent; and the kind core of the kinds that
// report that mean as it is.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>
#include <utility>

#include "indicators/candle_guard.hpp"
#include "indicators/indicator.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/inline_hint.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::core {

// ln(H/C) * ln(H/O) + ln(L/C) * ln(L/O): the second product rounded first, the first
// fused with the addition.
inline double rogers_satchell_term(const Candle& c) {
    return std::fma(std::log(c.high / c.close), std::log(c.high / c.open),
                    std::log(c.low / c.close) * std::log(c.low / c.open));
}

class RangeVolatility {
public:
    static Expected<RangeVolatility, IndicatorError> make(std::size_t period, std::size_t annualization) {
        if (period == 0 || annualization == 0) return IndicatorError::zero_period();
        // The window has no bound of its own; one longer than any other window is
        // refused rather than allocated.
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        return RangeVolatility(period, annualization);
    }

    // Adds a term; the running sum of the window once it holds `period` terms. The
    // sum is recomputed exactly from the window every `period` terms, so a
    // non-finite term stops affecting it at the latest `period` terms after leaving.
    // A window of zero terms (flat candles) sums to exactly 0, whatever residue the
    // running sum keeps from the terms that have left.
    OSTREL_ALWAYS_INLINE std::optional<double> push(double term) {
        run_.push(term);
        if (terms_.full()) sum_ = sum_ - terms_.oldest();
        terms_.push(term);
        sum_ = term + sum_;
        if (++pushes_since_resum_ == period_) resum();
        if (!terms_.full()) return std::nullopt;
        if (run_.covers(period_)) return 0.0;
        return sum_;
    }

    // sqrt(max(mean, 0)) * sqrt(annualization) * 100; a NaN mean is carried.
    double annualised_percent(double mean) const {
        double m = core::not_below_zero(mean);
        return std::sqrt(m) * std::sqrt(static_cast<double>(annualization_)) * 100.0;
    }

    std::size_t period() const { return period_; }

private:
    RangeVolatility(std::size_t period, std::size_t annualization)
        : terms_(period), period_(period), annualization_(annualization) {}

    // The exact sum of the window, oldest first, in place of the running one.
    OSTREL_OUT_OF_LINE void resum() {
        double s = -0.0;
        terms_.for_each([&](double v) { s = s + v; });
        sum_ = s;
        pushes_since_resum_ = 0;
    }

    Ring<double> terms_;
    std::size_t period_;
    std::size_t annualization_;
    double sum_ = 0.0;
    std::size_t pushes_since_resum_ = 0;
    ZeroRun run_;  // the trailing run of zero terms
};

// The kind core of GarmanKlassVolatility and RogersSatchellVolatility: the kind's own
// `term(candle)` of each checked candle enters the window; once it is full, the
// window mean of the terms, annualised and in percent.
template <class Kind>
class RangeVolatilityKind : public Indicator {
public:
    explicit RangeVolatilityKind(RangeVolatility s) : s_(std::move(s)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = checked_candle(f);
        if (!c) return std::nullopt;
        auto sum = s_.push(Kind::term(*c));
        if (!sum) return std::nullopt;
        return s_.annualised_percent(*sum / static_cast<double>(s_.period()));
    }
    std::size_t warmup_period() const override { return s_.period(); }

private:
    RangeVolatility s_;
};

}  // namespace ostrel::core
