// Volume-at-price binning shared by every profile kind. A set of candles is spread
// over `bins` equal price bins between its lowest low and its highest high; a candle
// covers the bins from the bin of its low to the bin of its high, both included.
// Also the rolling candle window most profile kinds keep, the value-area growth, and
// the kind cores of the price-range profiles and the value-area kinds.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <span>
#include <tuple>
#include <utility>
#include <vector>

#include "indicators/candle_guard.hpp"
#include "indicators/indicator.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::core {

// The part of a candle that the binning reads.
struct ProfileBar {
    double low = 0.0;
    double high = 0.0;
    double volume = 0.0;
};

// The price range of a set of candles and its bin width. A range whose high - low is
// not above 0 is flat and has no width.
struct ProfileRange {
    double low = 0.0;
    double high = 0.0;
    double width = 0.0;
    std::size_t bins = 1;
    bool flat = true;

    // floor((p - low) / width), raised to 0 when below 0 and lowered to bins - 1 when
    // above it. A quotient that is not a number (an overflowed or vanished width) goes
    // to bin 0, so the index is always a valid bin.
    std::size_t bin_of(double p) const {
        const double f = std::floor((p - low) / width);
        if (!(f > 0.0)) return 0;
        if (f >= static_cast<double>(bins - 1)) return bins - 1;
        return static_cast<std::size_t>(f);
    }
    // Centre of bin i: low + width * (i + 0.5).
    double centre(std::size_t i) const { return low + width * (static_cast<double>(i) + 0.5); }
    // Lower edge of bin i: low + width * i.
    double edge(std::size_t i) const { return low + width * static_cast<double>(i); }
};

class ProfileBinning {
public:
    // Lowest low and highest high of the bars, oldest first.
    template <class Bars>
    static ProfileRange range(const Bars& bars, std::size_t bins) {
        double lo = std::numeric_limits<double>::infinity();
        double hi = -std::numeric_limits<double>::infinity();
        each(bars, [&](const ProfileBar& b) {
            if (b.low < lo) lo = b.low;
            if (b.high > hi) hi = b.high;
        });
        ProfileRange r;
        r.low = lo;
        r.high = hi;
        r.bins = bins;
        const double span = hi - lo;
        r.flat = !(span > 0.0);
        if (!r.flat) r.width = span / static_cast<double>(bins);
        return r;
    }

    // Volume histogram: each bar with volume splits it evenly over the bins it
    // covers, bars taken oldest first; a flat range puts every volume into bin 0.
    template <class Bars>
    static void volume(const Bars& bars, const ProfileRange& r, std::span<double> out) {
        std::fill(out.begin(), out.end(), 0.0);
        each(bars, [&](const ProfileBar& b) {
            if (b.volume == 0.0) return;
            if (r.flat) {
                out[0] = out[0] + b.volume;
                return;
            }
            const std::size_t first = r.bin_of(b.low);
            const std::size_t last = std::max(first, r.bin_of(b.high));
            const double share = b.volume / static_cast<double>(last - first + 1);
            for (std::size_t i = first; i <= last; ++i) out[i] = out[i] + share;
        });
    }

    // Count histogram: every bar adds 1 to each bin it covers, whatever its volume; a
    // flat range puts every bar into bin 0. Counted through a difference array, which
    // gives the same exact integers as adding bin by bin, in time bars + bins.
    template <class Bars, class C>
    static void counts(const Bars& bars, const ProfileRange& r, std::span<C> out) {
        std::fill(out.begin(), out.end(), C(0));
        each(bars, [&](const ProfileBar& b) {
            std::size_t first = 0;
            std::size_t last = 0;
            if (!r.flat) {
                first = r.bin_of(b.low);
                last = std::max(first, r.bin_of(b.high));
            }
            out[first] = out[first] + C(1);
            if (last + 1 < out.size()) out[last + 1] = out[last + 1] - C(1);
        });
        for (std::size_t i = 1; i < out.size(); ++i) out[i] = out[i] + out[i - 1];
    }

    // Point of control: the bin with the largest value, the lowest bin on ties.
    static std::size_t poc(std::span<const double> hist) {
        std::size_t best = 0;
        for (std::size_t i = 1; i < hist.size(); ++i)
            if (hist[i] > hist[best]) best = i;
        return best;
    }

    // The value area around the POC bin: grown one bin at a time, towards the
    // heavier neighbour (the one above on equal volumes), until it holds
    // `fraction` of the total volume or covers every bin. Returns its lowest and
    // highest bin.
    static std::pair<std::size_t, std::size_t> value_area(std::span<const double> hist, std::size_t poc,
                                                          double fraction) {
        double total = 0.0;
        for (double v : hist) total = total + v;
        const double target = total * fraction;
        std::size_t lo = poc;
        std::size_t hi = poc;
        double accumulated = hist[poc];
        while (accumulated < target) {
            const bool above = hi + 1 < hist.size();
            const bool below = lo > 0;
            if (above && (!below || hist[hi + 1] >= hist[lo - 1])) {
                ++hi;
                accumulated = accumulated + hist[hi];
            } else if (below) {
                --lo;
                accumulated = accumulated + hist[lo];
            } else {
                break;
            }
        }
        return {lo, hi};
    }

private:
    template <class F>
    static void each(const Ring<ProfileBar>& bars, F&& f) {
        bars.for_each(f);
    }
    template <class F>
    static void each(const std::vector<ProfileBar>& bars, F&& f) {
        for (const ProfileBar& b : bars) f(b);
    }
};

// The rolling window of the last `period` candles that most profile kinds keep, with
// the bin count. Constructor checks: period 0 or bins 0 -> ZeroPeriod; then either
// above MAX_PERIOD -> the MAX_PERIOD text, so that the window and the histogram
// allocated at those sizes stay bounded.
class ProfileWindow {
public:
    static std::optional<IndicatorError> check(std::size_t period, std::size_t bins) {
        if (period == 0 || bins == 0) return IndicatorError::zero_period();
        return check_sizes(period, bins);
    }
    // The upper bounds alone, for kinds whose own checks come before them.
    static std::optional<IndicatorError> check_sizes(std::size_t period, std::size_t bins) {
        if (period > MAX_PERIOD) return IndicatorError::too_long();
        if (bins > MAX_PERIOD) return IndicatorError::too_long();
        return std::nullopt;
    }
    static Expected<ProfileWindow, IndicatorError> make(std::size_t period, std::size_t bins) {
        if (auto e = check(period, bins)) return *e;
        return ProfileWindow(period, bins);
    }

    // Runs the candle checks and, for a valid candle, slides the window; returns the
    // window's range once it holds `period` candles. A failing candle changes nothing.
    std::optional<ProfileRange> push(const FeedSnapshot& f) {
        const Candle* c = checked_candle(f);
        if (!c) return std::nullopt;
        ring_.push({c->low, c->high, c->volume});
        if (!ring_.full()) return std::nullopt;
        return ProfileBinning::range(ring_, bins_);
    }

    const Ring<ProfileBar>& bars() const { return ring_; }
    std::size_t period() const { return ring_.capacity(); }
    std::size_t bins() const { return bins_; }

    // A histogram of the full window: `h` gets its `bins` slots on first use, so a
    // window that never fills costs no bins.
    template <class T>
    std::span<T> histogram(std::vector<T>& h) const {
        if (h.size() != bins_) h.resize(bins_);
        return h;
    }

private:
    ProfileWindow(std::size_t period, std::size_t bins) : ring_(period), bins_(bins) {}

    Ring<ProfileBar> ring_;
    std::size_t bins_;
};

// A rolling window with its volume histogram and the value area of each full window:
// the state of the two value-area kinds, which differ only in the prices they report.
class ValueAreaWindow {
public:
    // The result for one full window: its range and, when it is not flat, the POC
    // bin and the lowest and highest bin of the value area.
    struct Area {
        ProfileRange range;
        std::size_t poc = 0;
        std::size_t lo = 0;
        std::size_t hi = 0;
    };

    // The fraction is checked by the kinds, which report it under different errors.
    static Expected<ValueAreaWindow, IndicatorError> make(std::size_t period, std::size_t bins,
                                                          double fraction) {
        OSTREL_TRY(window, ProfileWindow::make(period, bins));
        return ValueAreaWindow(std::move(window), fraction);
    }
    static bool fraction_ok(double fraction) {
        return std::isfinite(fraction) && fraction > 0.0 && fraction <= 1.0;
    }

    std::optional<Area> push(const FeedSnapshot& f) {
        auto range = window_.push(f);
        if (!range) return std::nullopt;
        Area a;
        a.range = *range;
        if (range->flat) return a;
        const std::span<double> hist = window_.histogram(hist_);
        ProfileBinning::volume(window_.bars(), *range, hist);
        a.poc = ProfileBinning::poc(hist);
        std::tie(a.lo, a.hi) = ProfileBinning::value_area(hist, a.poc, fraction_);
        return a;
    }

    std::size_t period() const { return window_.period(); }

private:
    ValueAreaWindow(ProfileWindow window, double fraction)
        : window_(std::move(window)), fraction_(fraction) {}

    ProfileWindow window_;
    std::vector<double> hist_;
    double fraction_;
};

// The kind core of the price-range profiles: the range of the last `period` candles,
// "price_low" and "price_high", returning the low, while the kind's own
// `fill(bars, range, hist)` keeps the histogram of the last full window.
template <class Kind>
class ProfileRangeKind : public Indicator {
public:
    explicit ProfileRangeKind(ProfileWindow window)
        : window_(std::move(window)), outputs_({"price_low", "price_high"}) {}

    std::optional<double> update(const FeedSnapshot& f) override {
        auto range = window_.push(f);
        if (!range) return std::nullopt;
        Kind::fill(window_.bars(), *range, window_.histogram(hist_));
        outputs_.store({range->low, range->high});
        return range->low;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return window_.period(); }

private:
    ProfileWindow window_;
    std::vector<double> hist_;
    OutputSlots<2> outputs_;
};

// The kind core of the value-area kinds: "poc", "vah" and "val" of each full window,
// returning the POC, all three the low of a flat window; the POC is its bin's centre
// and the kind's own `bounds(range, area)` gives the (vah, val) prices.
template <class Kind>
class ValueAreaKind : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        auto area = window_.push(f);
        if (!area) return std::nullopt;
        const ProfileRange& r = area->range;
        if (r.flat) {
            outputs_.store({r.low, r.low, r.low});
            return r.low;
        }
        const double poc = r.centre(area->poc);
        const auto [vah, val] = Kind::bounds(r, *area);
        outputs_.store({poc, vah, val});
        return poc;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return window_.period(); }

protected:
    explicit ValueAreaKind(ValueAreaWindow window) : window_(std::move(window)), outputs_({"poc", "vah", "val"}) {}

private:
    ValueAreaWindow window_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::core
