#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/equal_run.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/min_max.hpp"

namespace ostrel::kinds {

// Volume-synchronised probability of informed trading: trade volume is poured into
// buckets of `bucket_volume`; the value is the mean |buy - sell| of the last
// `buckets` closed buckets over the bucket volume.
class Vpin final : public Indicator {
public:
    static Expected<Vpin, IndicatorError> make(double bucket_volume, std::size_t buckets) {
        if (auto e = check_period(buckets)) return *e;
        if (!std::isfinite(bucket_volume) || !(bucket_volume > 0.0))
            return IndicatorError::invalid_parameter("VPIN bucket_volume must be finite and positive");
        return Vpin(bucket_volume, buckets);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        std::optional<double> result;
        const bool any = core::for_each_trade(f, [&](const Trade& t) {
            pour(t.size, t.is_sell);
            result = imbalances_.full() ? std::optional<double>(value()) : std::nullopt;
        });
        if (!any) return std::nullopt;
        return result;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    Vpin(double bucket_volume, std::size_t buckets)
        : volume_(bucket_volume), count_(static_cast<double>(buckets)), imbalances_(buckets), buckets_(buckets) {}

    // The mean imbalance per unit of bucket volume. A sum of imbalances read below 0
    // is a residue of those that left, and so is what it reads over a window of
    // balanced buckets: 0. No imbalance exceeds the bucket volume, so the value is at
    // most 1 (the division may round above it).
    double value() const {
        const double sum = balanced_.covers(buckets_) ? 0.0 : core::not_below_zero(sum_);
        const double v = sum / (volume_ * count_);
        return v > 1.0 ? 1.0 : v;
    }

    void pour(double size, bool is_sell) {
        const double room = volume_ - filled_;
        const double reach = volume_ * count_;
        double v = size;
        // Only the part of a huge trade that can still reach the window is poured.
        if (std::isinf(size))
            v = room + reach;
        else if (size > room && (size - room) / volume_ > count_)
            v = room + reach + std::fmod(size - room, volume_);
        while (v > 0.0) {
            const double space = volume_ - filled_;
            const double take = v < space ? v : space;
            if (is_sell)
                sell_ = sell_ + take;
            else
                buy_ = buy_ + take;
            filled_ = filled_ + take;
            if (filled_ >= volume_) close_bucket();
            v = v - take;
        }
    }

    void close_bucket() {
        const double imbalance = std::fabs(buy_ - sell_);
        if (imbalances_.full()) {
            const double o = imbalances_.oldest();
            imbalances_.pop_oldest();
            sum_ = sum_ - o;
        }
        imbalances_.push(imbalance);
        sum_ = sum_ + imbalance;
        balanced_.push(imbalance);
        if (++since_resum_ == buckets_) {
            double s = 0.0;
            imbalances_.for_each([&](double x) { s = s + x; });
            sum_ = s;
            since_resum_ = 0;
        }
        buy_ = 0.0;
        sell_ = 0.0;
        filled_ = 0.0;
    }

    double volume_;
    double count_;
    double buy_ = 0.0;
    double sell_ = 0.0;
    double filled_ = 0.0;
    core::Ring<double> imbalances_;
    std::size_t buckets_;
    double sum_ = 0.0;
    std::size_t since_resum_ = 0;
    core::ZeroRun balanced_;  // the buckets' imbalances
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Vpin(std::span<const double> p) {
    OSTREL_TRY(bucket_volume, param_f64(p, 0, "Vpin"));
    OSTREL_TRY(buckets, param_usize(p, 1, "Vpin"));
    return box_kind<kinds::Vpin>("Vpin", kinds::Vpin::make(bucket_volume, buckets));
}

}  // namespace ostrel::catalogue
