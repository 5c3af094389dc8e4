// Per-bar figures of a market cross-section shared by the breadth kinds, the kind
// core of the cumulative volume line and the state that several breadth kinds have
// in common.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "indicators/indicator.hpp"

namespace ostrel::core {

// Counts and volumes of one cross-section, in entry order. An entry whose change
// is 0 or NaN is neither advancing nor declining.
struct BreadthCounts {
    std::int64_t advances = 0;
    std::int64_t declines = 0;
    std::int64_t new_highs = 0;
    std::int64_t new_lows = 0;
    std::int64_t above_ma = 0;
    std::int64_t bullish = 0;
    std::int64_t entries = 0;
    double up_volume = -0.0;
    double down_volume = -0.0;

    // Nothing without a cross-section; an empty one gives all zeros.
    static std::optional<BreadthCounts> of(const FeedSnapshot& f) {
        if (!f.cross_section) return std::nullopt;
        BreadthCounts c;
        for (const CrossSectionEntry& e : *f.cross_section) {
            if (e.change > 0.0) {
                ++c.advances;
                c.up_volume = c.up_volume + e.volume;
            } else if (e.change < 0.0) {
                ++c.declines;
                c.down_volume = c.down_volume + e.volume;
            }
            if (e.new_high) ++c.new_highs;
            if (e.new_low) ++c.new_lows;
            if (e.above_ma) ++c.above_ma;
            if (e.bullish) ++c.bullish;
            ++c.entries;
        }
        return c;
    }

    // A / max(D, 1), on the counts.
    double advance_decline_ratio() const {
        return static_cast<double>(advances) / static_cast<double>(declines > 1 ? declines : 1);
    }
    // (A - D) / max(A + D, 1) x 1000: the McClellan ratio.
    double mcclellan_ratio() const {
        const std::int64_t total = advances + declines;
        return static_cast<double>(advances - declines) / static_cast<double>(total > 1 ? total : 1) * 1000.0;
    }
};

// The kind core of AdVolumeLine and CumulativeVolumeIndex: up volume less down
// volume of the cross-section, accumulated bar by bar.
class BreadthVolumeLineKind : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto c = BreadthCounts::of(f);
        if (!c) return std::nullopt;
        line_ = line_ + (c->up_volume - c->down_volume);
        return line_;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    double line_ = 0.0;
};

// The McClellan fast (10%) and slow (5%) averages of the breadth ratio, both set
// to the first ratio; the oscillator is fast - slow.
struct McClellanAverages {
    double step(double r) {
        if (!seeded) {
            fast = r;
            slow = r;
            seeded = true;
        } else {
            fast = fast + (r - fast) * 0.1;
            slow = slow + (r - slow) * 0.05;
        }
        return fast - slow;
    }
    double fast = 0.0;
    double slow = 0.0;
    bool seeded = false;
};

}  // namespace ostrel::core
