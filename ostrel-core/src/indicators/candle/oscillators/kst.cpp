#include <array>
#include <cmath>

#include "catalogue/params.hpp"
#include "indicators/core/ring.hpp"
#include "indicators/core/sma.hpp"

namespace ostrel::kinds {

// Know-sure-thing: four smoothed rates of change weighted 1 to 4, with a simple
// signal average. Reads the close only; a non-finite close is ignored.
class Kst final : public Indicator {
public:
    static Expected<Kst, IndicatorError> make(const std::array<std::size_t, 4>& roc,
                                              const std::array<std::size_t, 4>& sma, std::size_t signal) {
        for (std::size_t i = 0; i < 4; ++i)
            if (roc[i] == 0 || sma[i] == 0) return IndicatorError::zero_period();
        if (signal == 0) return IndicatorError::zero_period();
        for (std::size_t r : roc)
            if (r > MAX_PERIOD) return IndicatorError::too_long();
        for (std::size_t s : sma)
            if (s > MAX_PERIOD) return IndicatorError::too_long();
        if (signal > MAX_PERIOD) return IndicatorError::too_long();
        return Kst(roc, sma, signal);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        double close = f.candle.close;
        if (!std::isfinite(close)) return std::nullopt;
        bool ready = true;
        std::array<double, 4> s{};
        for (std::size_t i = 0; i < 4; ++i) {
            Line& l = lines_[i];
            l.closes.push(close);
            if (!l.closes.full()) {
                ready = false;
                continue;
            }
            double oldest = l.closes.oldest();
            l.rate = oldest == 0.0 ? 0.0 : ((close - oldest) / oldest) * 100.0;
            auto avg = l.sma.step(*l.rate);
            if (avg) {
                s[i] = *avg;
            } else {
                ready = false;
            }
        }
        if (!ready) return std::nullopt;
        double kst = s[0] + 2.0 * s[1] + 3.0 * s[2] + 4.0 * s[3];
        last_kst_ = kst;
        auto sig = signal_.step(kst);
        if (!sig) return std::nullopt;
        outputs_.store({kst, *sig});
        return kst;
    }
    std::span<const NamedOutput> outputs() const override { return outputs_.view(); }
    std::size_t warmup_period() const override {
        std::size_t longest = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            std::size_t w = roc_[i] + lines_[i].sma.period();
            if (w > longest) longest = w;
        }
        return longest + signal_.period() - 1;
    }

private:
    struct Line {
        Line(std::size_t roc, core::Sma s) : closes(roc + 1), sma(std::move(s)) {}
        core::Ring<double> closes;  // roc + 1 closes: the oldest is roc bars back
        std::optional<double> rate;
        core::Sma sma;
    };

    Kst(const std::array<std::size_t, 4>& roc, const std::array<std::size_t, 4>& sma, std::size_t signal)
        : roc_(roc),
          lines_{Line(roc[0], *core::Sma::make(sma[0])), Line(roc[1], *core::Sma::make(sma[1])),
                 Line(roc[2], *core::Sma::make(sma[2])), Line(roc[3], *core::Sma::make(sma[3]))},
          signal_(*core::Sma::make(signal)),
          outputs_({"kst", "signal"}) {}

    std::array<std::size_t, 4> roc_;
    std::array<Line, 4> lines_;
    std::optional<double> last_kst_;
    core::Sma signal_;
    OutputSlots<2> outputs_;
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_Kst(std::span<const double> p) {
    OSTREL_TRY(roc1, param_usize(p, 0, "Kst"));
    OSTREL_TRY(roc2, param_usize(p, 1, "Kst"));
    OSTREL_TRY(roc3, param_usize(p, 2, "Kst"));
    OSTREL_TRY(roc4, param_usize(p, 3, "Kst"));
    OSTREL_TRY(sma1, param_usize(p, 4, "Kst"));
    OSTREL_TRY(sma2, param_usize(p, 5, "Kst"));
    OSTREL_TRY(sma3, param_usize(p, 6, "Kst"));
    OSTREL_TRY(sma4, param_usize(p, 7, "Kst"));
    OSTREL_TRY(signal, param_usize(p, 8, "Kst"));
    return box_kind<kinds::Kst>("Kst", kinds::Kst::make({roc1, roc2, roc3, roc4}, {sma1, sma2, sma3, sma4}, signal));
}

}  // namespace ostrel::catalogue
