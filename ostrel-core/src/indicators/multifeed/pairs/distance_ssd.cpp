#include "catalogue/params.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Sum of squared distances between the two series normalised by the window's
// oldest values: sum (x_i / x0 - y_i / y0)^2; 0 when either oldest value is 0.
class DistanceSsd final : public Indicator {
public:
    static Expected<DistanceSsd, IndicatorError> make(std::size_t period) {
        if (auto e = core::check_min_period(period, 2, "distance SSD needs period >= 2")) return *e;
        return DistanceSsd(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        window_.push(*in);
        if (!window_.full()) return std::nullopt;
        const core::PairInput first = window_.oldest();
        if (first.x == 0.0 || first.y == 0.0) return 0.0;
        double ssd = 0.0;
        window_.for_each([&](const core::PairInput& p) {
            const double d = p.x / first.x - p.y / first.y;
            ssd = ssd + d * d;
        });
        return ssd;
    }
    std::size_t warmup_period() const override { return window_.capacity(); }

private:
    explicit DistanceSsd(std::size_t period) : window_(period) {}

    core::Ring<core::PairInput> window_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_DistanceSsd(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "DistanceSsd"));
    return box_kind<kinds::DistanceSsd>("DistanceSsd", kinds::DistanceSsd::make(period));
}

}  // namespace ostrel::catalogue
