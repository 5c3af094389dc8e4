// The DeMark setup count shared by the counting and level kinds: consecutive closes
// below (buy) or above (sell) the close a fixed number of bars back, each count
// capped at the setup length; a close equal to its reference ends both counts.
#pragma once

#include <cstddef>

namespace ostrel::core {

class TdSetupCount {
public:
    explicit TdSetupCount(std::size_t length) : length_(length) {}

    // Compares close c with the reference close p and advances the counts.
    void step(double c, double p) {
        if (c < p) {
            buy_ = buy_ < length_ ? buy_ + 1 : length_;
            sell_ = 0;
        } else if (c > p) {
            sell_ = sell_ < length_ ? sell_ + 1 : length_;
            buy_ = 0;
        } else {
            buy_ = 0;
            sell_ = 0;
        }
    }

    // +buy count, else -sell count, else 0.
    double signed_value() const {
        if (buy_ != 0) return static_cast<double>(buy_);
        if (sell_ != 0) return -static_cast<double>(sell_);
        return 0.0;
    }

    std::size_t buy() const { return buy_; }
    std::size_t sell() const { return sell_; }
    std::size_t length() const { return length_; }

private:
    std::size_t length_;
    std::size_t buy_ = 0;
    std::size_t sell_ = 0;
};

}  // namespace ostrel::core
