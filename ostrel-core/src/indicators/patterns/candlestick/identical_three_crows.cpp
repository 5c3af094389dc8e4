#include "catalogue/params.hpp"
#include "indicators/core/candle_pattern.hpp"

namespace ostrel::kinds {

// Three black candles with falling closes, each opening at the previous close within a
// relative tolerance (bearish only).
class IdenticalThreeCrows final : public core::CandlePattern<IdenticalThreeCrows, 3> {
public:
    double test(const core::CandleShapes<3>& w) const {
        const auto& [k1, k2, k3] = w;
        if (k1.c < k1.o && k2.c < k2.o && k3.c < k2.c && k3.c < k3.o && k2.c < k1.c &&
            std::fabs(k2.o - k1.c) <= tolerance_ * std::max(std::fabs(k2.o), std::fabs(k1.c)) &&
            std::fabs(k3.o - k2.c) <= tolerance_ * std::max(std::fabs(k3.o), std::fabs(k2.c)))
            return core::PATTERN_BEARISH;
        return core::PATTERN_NONE;
    }

private:
    double tolerance_ = 0.001;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_IdenticalThreeCrows(std::span<const double>) { return box_kind(kinds::IdenticalThreeCrows{}); }

}  // namespace ostrel::catalogue
