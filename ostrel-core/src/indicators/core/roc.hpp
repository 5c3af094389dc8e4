// Rate of change in percent of a value against a base, dividing before scaling.
#pragma once

namespace ostrel::core {

// 0 for a zero base, else ((value - base) / base) x 100.
inline double roc(double value, double base) {
    if (base == 0.0) return 0.0;
    return ((value - base) / base) * 100.0;
}

}  // namespace ostrel::core
