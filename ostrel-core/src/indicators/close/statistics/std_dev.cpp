#include "catalogue/params.hpp"
#include "indicators/core/std_dev.hpp"

namespace ostrel::kinds {

// Population standard deviation of the last `period` closes.
class StdDev final : public Indicator {
public:
    explicit StdDev(core::StdDev s) : s_(std::move(s)) {}
    std::optional<double> update(const FeedSnapshot& f) override { return s_.step(f.candle.close); }
    std::size_t warmup_period() const override { return s_.period(); }

private:
    core::StdDev s_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_StdDev(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "StdDev"));
    return box_kind<kinds::StdDev>("StdDev", core::StdDev::make(period));
}

}  // namespace ostrel::catalogue
