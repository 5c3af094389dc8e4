#include <array>
#include <cmath>
#include <cstddef>
#include <optional>

#include "catalogue/params.hpp"
#include "indicators/core/dense_solve.hpp"
#include "indicators/feed_access.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// The close's share of price discovery from a two-price error-correction model
// over the last `period` observation rows: the midpoint of its upper bound (close
// ordered first) and its lower bound (reference ordered first); 0.5 while the
// model is not well posed.
class HasbrouckInformationShare final : public Indicator {
public:
    static Expected<HasbrouckInformationShare, IndicatorError> make(std::size_t period) {
        if (auto e = core::check_min_period(period, 6, "information share needs period >= 6")) return *e;
        return HasbrouckInformationShare(period);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const auto in = core::pair_input(f);
        if (!in) return std::nullopt;
        if (older_ && newer_) {
            const core::PairInput p1 = *older_;
            const core::PairInput p2 = *newer_;
            rows_.push({in->x - p2.x, in->y - p2.y, p2.x - p2.y, p2.x - p1.x, p2.y - p1.y});
        }
        older_ = newer_;
        newer_ = *in;
        if (!rows_.full()) return std::nullopt;
        return share();
    }
    std::size_t warmup_period() const override { return rows_.capacity() + 2; }

private:
    struct Row {
        double dx, dy, ec, dx1, dy1;
    };
    explicit HasbrouckInformationShare(std::size_t period) : rows_(period) {}

    static std::array<double, 4> regressors(const Row& r) { return {1.0, r.ec, r.dx1, r.dy1}; }
    static double fit(const std::array<double, 4>& x, const std::array<double, 4>& b) {
        double s = 0.0;
        for (std::size_t j = 0; j < 4; ++j) s = s + x[j] * b[j];
        return s;
    }

    double share() const {
        std::array<double, 16> xtx{};
        std::array<double, 4> xtdx{}, xtdy{};
        rows_.for_each([&](const Row& r) {
            const auto x = regressors(r);
            for (std::size_t i = 0; i < 4; ++i) {
                for (std::size_t j = 0; j < 4; ++j) xtx[i * 4 + j] = xtx[i * 4 + j] + x[i] * x[j];
                xtdx[i] = xtdx[i] + x[i] * r.dx;
                xtdy[i] = xtdy[i] + x[i] * r.dy;
            }
        });
        std::array<double, 4> bx{}, by{};
        if (!core::solve4(xtx, xtdx, bx) || !core::solve4(xtx, xtdy, by)) return 0.5;
        const double ax = bx[1];
        const double ay = by[1];
        double s11 = 0.0, s22 = 0.0, s12 = 0.0;
        rows_.for_each([&](const Row& r) {
            const auto x = regressors(r);
            const double e1 = r.dx - fit(x, bx);
            const double e2 = r.dy - fit(x, by);
            s11 = s11 + e1 * e1;
            s22 = s22 + e2 * e2;
            s12 = s12 + e1 * e2;
        });
        const double n = static_cast<double>(rows_.capacity());
        const double s1 = s11 / n;
        const double s2 = s22 / n;
        const double c12 = s12 / n;
        if (s1 <= 0.0 || s2 <= 0.0) return 0.5;
        const double psi1 = ay;
        const double psi2 = -ax;
        const double v = ((psi1 * psi1) * s1 + ((2.0 * psi1) * psi2) * c12) + (psi2 * psi2) * s2;
        if (v <= 0.0) return 0.5;
        const double r1 = std::sqrt(s1);
        const double r2 = std::sqrt(s2);
        const double a = psi1 * r1 + psi2 * c12 / r1;
        double upper = (a * a) / v;
        if (upper > 1.0) upper = 1.0;
        const double b = psi1 * c12 / r2 + psi2 * r2;
        double lower = 1.0 - (b * b) / v;
        if (lower < 0.0) lower = 0.0;
        if (lower > 1.0) lower = 1.0;
        return midpoint(upper, lower);
    }

    core::Ring<Row> rows_;
    std::optional<core::PairInput> older_;
    std::optional<core::PairInput> newer_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_HasbrouckInformationShare(std::span<const double> p) {
    OSTREL_TRY(period, param_usize(p, 0, "HasbrouckInformationShare"));
    return box_kind<kinds::HasbrouckInformationShare>("HasbrouckInformationShare",
                                                      kinds::HasbrouckInformationShare::make(period));
}

}  // namespace ostrel::catalogue
