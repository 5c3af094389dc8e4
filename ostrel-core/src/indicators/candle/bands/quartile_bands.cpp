#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/quartile_bands.hpp"

namespace ostrel::kinds {

// Rolling quartiles of the close: "upper" the 0.75 quantile, "middle" the median,
// "lower" the 0.25 quantile. Reads the close only; a non-finite close is ignored.
class QuartileBands final : public Indicator {
public:
    explicit QuartileBands(core::QuartileBands window)
        : window_(std::move(window)), outputs_({"upper", "middle", "lower"}) {}
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!core::push_finite(window_, f.candle.close)) return std::nullopt;
        double upper = window_.quantile(0.75);
        outputs_.store({upper, window_.quantile(0.5), window_.quantile(0.25)});
        return upper;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override { return window_.period(); }

private:
    core::QuartileBands window_;
    OutputSlots<3> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_QuartileBands(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "QuartileBands"));
    return box_kind<kinds::QuartileBands>("QuartileBands", core::QuartileBands::make(period));
}

}  // namespace ostrel::catalogue
