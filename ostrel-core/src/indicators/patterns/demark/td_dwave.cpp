#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// DeMark wave count: the wave number 1..8 advances (wrapping to 1) each time a swing
// pivot of the other kind than the last one is confirmed; a pivot is the middle
// candle of 2 * period + 1 whose high (low) strictly beats every other high (low).
class TdDWave final : public Indicator {
public:
    static Expected<TdDWave, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return TdDWave(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        candles_.push(*c);
        if (!candles_.full()) return last_;
        const std::size_t mid = period_;  // n bars back, from the oldest of 2n + 1
        const Candle& m = candles_[mid];
        bool swing_high = true;
        bool swing_low = true;
        for (std::size_t i = 0; i < candles_.size(); ++i) {
            if (i == mid) continue;
            if (!(m.high > candles_[i].high)) swing_high = false;
            if (!(m.low < candles_[i].low)) swing_low = false;
        }
        if (swing_high && !swing_low) advance(Pivot::High);
        else if (swing_low && !swing_high) advance(Pivot::Low);
        return last_;
    }
    std::size_t warmup_period() const override { return 2 * period_ + 1; }

private:
    enum class Pivot { None, High, Low };

    explicit TdDWave(std::size_t period) : candles_(2 * period + 1), period_(period) {}

    void advance(Pivot kind) {
        if (last_pivot_ == kind) return;
        wave_ = (wave_ & 7u) + 1;
        last_pivot_ = kind;
        last_ = static_cast<double>(wave_);
    }

    core::Ring<Candle> candles_;
    std::size_t period_;
    std::size_t wave_ = 0;
    Pivot last_pivot_ = Pivot::None;
    std::optional<double> last_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_TdDWave(std::span<const double> p) {
    OSTREL_TRY(pivot_bars, param_usize(p, 0, "TdDWave"));
    return box_kind<kinds::TdDWave>("TdDWave", kinds::TdDWave::make(pivot_bars));
}

}  // namespace ostrel::catalogue
