#include "catalogue/params.hpp"
#include "indicators/core/breadth.hpp"

namespace ostrel::kinds {

// McClellan oscillator: fast less slow average of the breadth ratio
// (A - D) / max(A + D, 1) x 1000; 0 on the first bar.
class McClellanOscillator final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto c = core::BreadthCounts::of(f);
        if (!c) return std::nullopt;
        return averages_.step(c->mcclellan_ratio());
    }
    std::size_t warmup_period() const override { return 1; }

private:
    core::McClellanAverages averages_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_McClellanOscillator(std::span<const double>) { return box_kind(kinds::McClellanOscillator{}); }

}  // namespace ostrel::catalogue
