#include "catalogue/params.hpp"
#include "indicators/core/breadth.hpp"

namespace ostrel::kinds {

// The advance-decline line: advances less declines, accumulated bar by bar.
class AdvanceDecline final : public Indicator {
public:
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto c = core::BreadthCounts::of(f);
        if (!c) return std::nullopt;
        line_ = line_ + static_cast<double>(c->advances - c->declines);
        return line_;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    double line_ = 0.0;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_AdvanceDecline(std::span<const double>) { return box_kind(kinds::AdvanceDecline{}); }

}  // namespace ostrel::catalogue
