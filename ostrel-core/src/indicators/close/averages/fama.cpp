#include "catalogue/params.hpp"
#include "indicators/core/mama.hpp"

namespace ostrel::kinds {

// The following line of the MESA adaptive average alone.
class Fama final : public Indicator {
public:
    explicit Fama(core::Mama m) : m_(std::move(m)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        auto r = m_.step(f.candle.close);
        if (!r) return std::nullopt;
        last_ = r->fama;
        return r->fama;
    }
    std::size_t warmup_period() const override { return 33; }

private:
    core::Mama m_;
    std::optional<double> last_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Fama(std::span<const double> p) {
    OSTREL_TRY(fast_limit, param_f64(p, 0, "Fama"));
    OSTREL_TRY(slow_limit, param_f64(p, 1, "Fama"));
    return box_kind<kinds::Fama>("Fama", core::Mama::make(fast_limit, slow_limit));
}

}  // namespace ostrel::catalogue
