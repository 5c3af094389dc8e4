#include <cmath>
#include <cstdint>

#include "catalogue/params.hpp"
#include "indicators/core/anchored_pair_sums.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Kendall's tau-b of the window's (close, reference) pairs, with the pair counts
// kept incrementally: a leaving pair takes back its classes against the pairs that
// stay, an arriving one adds its classes against the window.
class KendallTau final : public Indicator {
public:
    static Expected<KendallTau, IndicatorError> make(std::size_t period) {
        if (auto e = core::check_min_period(period, 2, "Kendall tau needs period >= 2")) return *e;
        return KendallTau(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        if (window_.full()) {
            const core::PairInput gone = window_.oldest();
            window_.pop_oldest();
            window_.for_each([&](const core::PairInput& p) { classify(gone, p, -1); });
        }
        window_.for_each([&](const core::PairInput& p) { classify(*in, p, +1); });
        window_.push(*in);
        if (!window_.full()) return std::nullopt;
        // Pair counts stay below 2^47, so the differences are exact; the product of
        // the two untied totals is formed in floating point, where it cannot wrap.
        const double total = static_cast<double>(pairs_);
        const double q = (total - static_cast<double>(tied_x_)) * (total - static_cast<double>(tied_y_));
        const double result =
            q == 0.0 ? 0.0 : core::clamp_unit(static_cast<double>(concordant_ - discordant_) / std::sqrt(q));
        last_ = result;
        return result;
    }
    std::size_t warmup_period() const override { return window_.capacity(); }

private:
    explicit KendallTau(std::size_t period)
        : window_(period), pairs_(static_cast<std::int64_t>(period * (period - 1) / 2)) {}

    // Adds (sign +1) or takes back (-1) the class of the pairs a and b.
    void classify(const core::PairInput& a, const core::PairInput& b, std::int64_t sign) {
        const double dx = a.x - b.x;
        const double dy = a.y - b.y;
        if (a.x == b.x) {
            tied_x_ += sign;
            if (a.y == b.y) tied_y_ += sign;
        } else if ((dx > 0.0 && dy > 0.0) || (dx < 0.0 && dy < 0.0)) {
            concordant_ += sign;
        } else if ((dx > 0.0 && dy < 0.0) || (dx < 0.0 && dy > 0.0)) {
            discordant_ += sign;
        } else if (a.y == b.y) {
            tied_y_ += sign;
        }
    }

    core::Ring<core::PairInput> window_;
    std::int64_t pairs_;
    std::int64_t concordant_ = 0;
    std::int64_t discordant_ = 0;
    std::int64_t tied_x_ = 0;
    std::int64_t tied_y_ = 0;
    std::optional<double> last_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_KendallTau(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "KendallTau"));
    return box_kind<kinds::KendallTau>("KendallTau", kinds::KendallTau::make(period));
}

}  // namespace ostrel::catalogue
