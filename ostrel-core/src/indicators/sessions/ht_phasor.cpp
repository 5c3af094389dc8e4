#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ht_dcphase.hpp"

namespace ostrel::kinds {

// In-phase and quadrature components of the close's cycle from the Hilbert chain.
// Reads only the close: a candle that fails the other checks is still used.
class HtPhasor final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const double x = f.candle.close;
        if (!std::isfinite(x)) return std::nullopt;
        if (chain_.step(x) != core::ChainStage::Measured) return std::nullopt;
        out_.store({chain_.in_phase(), chain_.quadrature()});
        return chain_.in_phase();
    }
    std::span<const NamedOutput> outputs() const override { return out_.view(); }
    std::size_t warmup_period() const override { return 22; }

private:
    core::HilbertChain chain_;
    OutputSlots<2> out_{{"inphase", "quadrature"}};
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HtPhasor(std::span<const double>) { return box_kind(kinds::HtPhasor{}); }

}  // namespace ostrel::catalogue
