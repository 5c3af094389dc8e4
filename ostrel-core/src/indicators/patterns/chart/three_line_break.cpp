#include "catalogue/params.hpp"
#include "indicators/candle_guard.hpp"
#include "indicators/core/ring.hpp"

namespace ostrel::kinds {

// Direction of a line-break chart on the closes: a close beyond the newest line
// extends the trend; a close beyond every one of the last `lines` lines on the
// other side reverses it. +1 up, -1 down, on every bar once a direction exists.
class ThreeLineBreak final : public Indicator {
public:
    static Expected<ThreeLineBreak, IndicatorError> make(std::size_t lines) {
        if (auto e = check_period(lines)) return *e;
        return ThreeLineBreak(lines);
    }
    std::optional<double> update(const FeedSnapshot& f) override {
        const Candle* c = core::checked_candle(f);
        if (!c) return std::nullopt;
        const double close = c->close;
        if (line_closes_.empty()) {
            line_closes_.push(close);
            return std::nullopt;
        }
        const double newest = line_closes_.newest();
        bool new_line = false;
        if (direction_ >= 0) {
            if (close > newest) {
                new_line = true;
                direction_ = 1;
            } else if (close < lowest_line()) {
                new_line = true;
                direction_ = -1;
            }
        } else {
            if (close < newest) {
                new_line = true;
            } else if (close > highest_line()) {
                new_line = true;
                direction_ = 1;
            }
        }
        if (new_line) line_closes_.push(close);  // a full list drops its oldest line
        if (direction_ == 0) return std::nullopt;
        return static_cast<double>(direction_);
    }
    std::size_t warmup_period() const override { return 2; }

private:
    explicit ThreeLineBreak(std::size_t lines) : line_closes_(lines) {}

    double lowest_line() const {
        double m = line_closes_[0];
        line_closes_.for_each([&m](double x) {
            if (x < m) m = x;
        });
        return m;
    }
    double highest_line() const {
        double m = line_closes_[0];
        line_closes_.for_each([&m](double x) {
            if (x > m) m = x;
        });
        return m;
    }

    core::Ring<double> line_closes_;  // closes of the most recent lines, oldest first
    signed char direction_ = 0;        // 0 none yet, +1 up, -1 down
};

}  // namespace ostrel::kinds

namespace ostrel::catalogue {

BuildResult build_ThreeLineBreak(std::span<const double> p) {
    OSTREL_TRY(lines, param_usize(p, 0, "ThreeLineBreak"));
    return box_kind<kinds::ThreeLineBreak>("ThreeLineBreak", kinds::ThreeLineBreak::make(lines));
}

}  // namespace ostrel::catalogue
