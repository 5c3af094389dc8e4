#include "catalogue/params.hpp"

namespace ostrel::kinds {

// Change of open interest since the previous derivatives record.
class OpenInterestDelta final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.derivatives) return std::nullopt;
        const double oi = f.derivatives->open_interest;
        std::optional<double> out;
        if (previous_) out = oi - *previous_;
        previous_ = oi;
        return out;
    }
    std::size_t warmup_period() const override { return 2; }

private:
    std::optional<double> previous_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_OpenInterestDelta(std::span<const double>) { return box_kind(kinds::OpenInterestDelta{}); }

}  // namespace ostrel::catalogue
