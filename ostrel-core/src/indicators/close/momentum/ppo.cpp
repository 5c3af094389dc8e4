#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ppo.hpp"

namespace ostrel::kinds {

class Ppo final : public Indicator {
public:
    explicit Ppo(core::Ppo s) : ppo_(std::move(s)) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        const double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        return ppo_.step(close);
    }
    std::size_t warmup_period() const override { return ppo_.slow_period(); }

private:
    core::Ppo ppo_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Ppo(std::span<const double> p) {
    OSTREL_TRY(fast_period, param_usize(p, 0, "Ppo"));
    OSTREL_TRY(slow_period, param_usize(p, 1, "Ppo"));
    return box_kind<kinds::Ppo>("Ppo", core::Ppo::make(fast_period, slow_period));
}

}  // namespace ostrel::catalogue
