#include <cmath>

#include "catalogue/params.hpp"

namespace ostrel::kinds {

// The funding rate scaled to a year: funding_rate x intervals_per_year.
class FundingImpliedApr final : public Indicator {
public:
    static Expected<FundingImpliedApr, IndicatorError> make(double intervals_per_year) {
        if (!std::isfinite(intervals_per_year) || !(intervals_per_year > 0.0))
            return IndicatorError::invalid_parameter("intervals_per_year must be finite and positive");
        return FundingImpliedApr(intervals_per_year);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        if (!f.derivatives) return std::nullopt;
        return f.derivatives->funding_rate * intervals_per_year_;
    }
    std::size_t warmup_period() const override { return 1; }

private:
    explicit FundingImpliedApr(double intervals_per_year) : intervals_per_year_(intervals_per_year) {}
    double intervals_per_year_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_FundingImpliedApr(std::span<const double> p) {
    OSTREL_TRY(intervals_per_year, param_f64(p, 0, "FundingImpliedApr"));
    return box_kind<kinds::FundingImpliedApr>("FundingImpliedApr", kinds::FundingImpliedApr::make(intervals_per_year));
}

}  // namespace ostrel::catalogue
