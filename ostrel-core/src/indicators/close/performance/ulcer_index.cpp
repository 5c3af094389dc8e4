#include <cmath>
#include <cstdint>
#include <vector>

#include "catalogue/params.hpp"
#include "indicators/core/rolling_sums.hpp"

namespace ostrel::kinds {

// Root mean square of the last `period` percent drawdowns, each measured from the
// largest of the last `period` levels (kept by a monotonic maximum window).
class UlcerIndex final : public Indicator {
public:
    static Expected<UlcerIndex, IndicatorError> make(std::size_t period) {
        OSTREL_TRY(squares, core::RollingSums::make(period));
        return UlcerIndex(period, std::move(squares));
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        ++t_;
        while (size_ > 0 && !(back().value > x)) pop_back();
        push_back({t_, x});
        const std::uint64_t floor = t_ >= period_ - 1 ? t_ - (period_ - 1) : 0;
        while (front().t < floor) pop_front();
        if (t_ < period_) return std::nullopt;
        const double m = front().value;
        const double u = m == 0.0 ? 0.0 : (x - m) * 100.0 / m;
        squares_.push(u * u);
        if (!squares_.window.full()) return std::nullopt;
        return std::sqrt(squares_.sum / static_cast<double>(period_));
    }
    std::size_t warmup_period() const override { return 2 * period_ - 1; }

private:
    struct Entry {
        std::uint64_t t;
        double value;
    };

    UlcerIndex(std::size_t period, core::RollingSums squares)
        : max_(period + 1), period_(period), squares_(std::move(squares)) {}

    // Fixed-capacity deque over max_: at most period + 1 entries are held at once.
    const Entry& front() const { return max_[head_]; }
    const Entry& back() const { return max_[(head_ + size_ - 1) % max_.size()]; }
    void pop_front() {
        head_ = (head_ + 1) % max_.size();
        --size_;
    }
    void pop_back() { --size_; }
    void push_back(Entry e) {
        max_[(head_ + size_) % max_.size()] = e;
        ++size_;
    }

    std::uint64_t t_ = 0;
    std::vector<Entry> max_;
    std::size_t head_ = 0;
    std::size_t size_ = 0;
    std::size_t period_;
    core::RollingSums squares_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_UlcerIndex(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "UlcerIndex"));
    return box_kind<kinds::UlcerIndex>("UlcerIndex", kinds::UlcerIndex::make(period));
}

}  // namespace ostrel::catalogue
