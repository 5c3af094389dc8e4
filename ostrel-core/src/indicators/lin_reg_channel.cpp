#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/lin_reg_channel.hpp"

namespace ostrel::kinds {

// Linear-regression channel of the close: the fitted line at the newest point plus
// and minus a multiple of the residual standard deviation (divided by n). Reads only
// the close.
class LinRegChannel final : public Indicator {
public:
    static Expected<core::RegressionChannel, IndicatorError> make(std::size_t period, double multiplier) {
        return core::RegressionChannel::make(period, multiplier, 2, "linear regression channel needs period >= 2");
    }
    explicit LinRegChannel(core::RegressionChannel s) : s_(std::move(s)), outputs_({"upper", "middle", "lower"}) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        auto fit = s_.step(f.candle.close);
        if (!fit) return std::nullopt;
        double sd = std::sqrt(fit->ssr / static_cast<double>(s_.period()));
        double w = sd * s_.multiplier();
        outputs_.store({fit->middle + w, fit->middle, fit->middle - w});
        return fit->middle + w;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return s_.period(); }

private:
    core::RegressionChannel s_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_LinRegChannel(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "LinRegChannel"));
    OSTREL_TRY(multiplier, param_f64(p, 1, "LinRegChannel"));
    return box_kind<kinds::LinRegChannel>("LinRegChannel", kinds::LinRegChannel::make(period, multiplier));
}

}  // namespace ostrel::catalogue
