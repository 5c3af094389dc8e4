#include <cmath>
#include <cstddef>
#include <span>
#include <utility>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/core/profile_binning.hpp"

namespace ostrel::kinds {

// Points of control of consecutive, non-overlapping blocks of `period` candles that
// no later candle has traded through. Returns the one nearest to the close (the
// older on equal distance), or the close when none is left; nothing until the first
// block completes.
class NakedPoc final : public Indicator {
public:
    static Expected<NakedPoc, IndicatorError> make(std::size_t period, std::size_t bins) {
        if (auto e = core::ProfileWindow::check(period, bins)) return *e;
        return NakedPoc(period, bins);
    }

    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        // A candle whose range holds a naked POC has traded through it.
        std::size_t kept = 0;
        for (double p : naked_)
            if (!(c->low <= p && p <= c->high)) naked_[kept++] = p;
        naked_.resize(kept);
        last_close_ = c->close;
        core::grow_toward(block_, period_);
        block_.push_back({c->low, c->high, c->volume});
        if (block_.size() == period_) {
            naked_.push_back(block_poc());
            block_.clear();
            completed_ = true;
        }
        if (!completed_) return std::nullopt;
        return nearest();
    }
    std::size_t warmup_period() const override { return period_; }

private:
    NakedPoc(std::size_t period, std::size_t bins) : period_(period), bins_(bins) {}

    // The block's low when it is flat, else the centre of its POC bin.
    double block_poc() {
        const core::ProfileRange r = core::ProfileBinning::range(block_, bins_);
        if (r.flat) return r.low;
        hist_.resize(bins_);  // once, at the first block that is not flat
        core::ProfileBinning::volume(block_, r, std::span<double>(hist_));
        return r.centre(core::ProfileBinning::poc(hist_));
    }

    double nearest() const {
        if (naked_.empty()) return last_close_;
        double best = naked_[0];
        double best_distance = std::fabs(naked_[0] - last_close_);
        for (std::size_t i = 1; i < naked_.size(); ++i) {
            const double d = std::fabs(naked_[i] - last_close_);
            if (d < best_distance) {
                best = naked_[i];
                best_distance = d;
            }
        }
        return best;
    }

    std::size_t period_;
    std::size_t bins_;
    std::vector<core::ProfileBar> block_;  // the current block, growing up to `period`
    std::vector<double> hist_;
    std::vector<double> naked_;  // oldest first; entries leave only when traded through
    double last_close_ = 0.0;
    bool completed_ = false;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_NakedPoc(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "NakedPoc"));
    OSTREL_TRY(bins, param_usize(p, 1, "NakedPoc"));
    return box_kind<kinds::NakedPoc>("NakedPoc", kinds::NakedPoc::make(period, bins));
}

}  // namespace ostrel::catalogue
