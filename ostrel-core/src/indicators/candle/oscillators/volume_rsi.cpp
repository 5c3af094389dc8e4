#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"

namespace ostrel::kinds {

// Relative strength index of the volume: Wilder averages of volume rises and falls,
// seeded with their plain means; 50 when both averages are 0.
class VolumeRsi final : public Indicator {
public:
    static Expected<VolumeRsi, IndicatorError> make(std::size_t period) {
        if (auto e = check_period(period)) return *e;
        return VolumeRsi(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        double v = c->volume;
        if (!prev_volume_) {
            prev_volume_ = v;
            return std::nullopt;
        }
        double change = v - *prev_volume_;
        prev_volume_ = v;
        double gain = change > 0.0 ? change : 0.0;
        double loss = change < 0.0 ? -change : 0.0;
        if (seeded_) {
            const double n = static_cast<double>(period_);
            avg_gain_ = (gain + avg_gain_ * (n - 1.0)) / n;
            avg_loss_ = (loss + avg_loss_ * (n - 1.0)) / n;
        } else {
            gain_seed_ = gain_seed_ + gain;
            loss_seed_ = loss_seed_ + loss;
            if (++seed_count_ < period_) return std::nullopt;
            const double count = static_cast<double>(seed_count_);
            avg_gain_ = gain_seed_ / count;
            avg_loss_ = loss_seed_ / count;
            seeded_ = true;
        }
        double total = avg_gain_ + avg_loss_;
        if (total == 0.0) return 50.0;
        return (avg_gain_ / total) * 100.0;
    }
    std::size_t warmup_period() const override { return period_ + 1; }

private:
    explicit VolumeRsi(std::size_t period) : period_(period) {}

    std::optional<double> prev_volume_;
    double avg_gain_ = 0.0;
    double avg_loss_ = 0.0;
    bool seeded_ = false;
    std::size_t period_;
    double gain_seed_ = 0.0;
    double loss_seed_ = 0.0;
    std::size_t seed_count_ = 0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_VolumeRsi(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "VolumeRsi"));
    return box_kind<kinds::VolumeRsi>("VolumeRsi", kinds::VolumeRsi::make(period));
}

}  // namespace ostrel::catalogue
