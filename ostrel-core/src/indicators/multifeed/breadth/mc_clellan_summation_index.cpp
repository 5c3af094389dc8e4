#include "catalogue/params.hpp"
#include "indicators/core/breadth.hpp"

namespace ostrel::kinds {

// McClellan summation index: the running sum of the McClellan oscillator.
class McClellanSummationIndex final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto c = core::BreadthCounts::of(f);
        if (!c) return std::nullopt;
        sum_ = sum_ + averages_.step(c->mcclellan_ratio());
        return sum_;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    core::McClellanAverages averages_;
    double sum_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_McClellanSummationIndex(std::span<const double>) {
    return box_kind(kinds::McClellanSummationIndex{});
}

}  // namespace ostrel::catalogue
