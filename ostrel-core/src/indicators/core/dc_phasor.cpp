#include "indicators/core/dc_phasor.hpp"

#include <array>
#include <cassert>
#include <cmath>

namespace ostrel::core {

// Lists 1 .. 50 stored back to back: list n starts at n (n - 1) / 2.
struct DcPhasorTable {
    std::array<PhasorPair, kDcPhasorMaxLength * (kDcPhasorMaxLength + 1) / 2> pairs;
};

const DcPhasorTable& dc_phasor_table() {
    // A function-local static: initialised exactly once, by the first caller, while
    // concurrent first callers wait; never written afterwards.
    static const DcPhasorTable table = [] {
        DcPhasorTable t{};
        std::size_t at = 0;
        for (std::size_t n = 1; n <= kDcPhasorMaxLength; ++n) {
            const double nf = static_cast<double>(n);
            for (std::size_t k = 0; k < n; ++k) {
                const double angle = 6.283185307179586 * static_cast<double>(k) / nf;
                t.pairs[at++] = PhasorPair{std::sin(angle), std::cos(angle)};
            }
        }
        return t;
    }();
    return table;
}

std::span<const PhasorPair> dc_phasor(std::size_t n) {
    assert(n <= kDcPhasorMaxLength);
    return std::span<const PhasorPair>(dc_phasor_table().pairs.data() + n * (n - 1) / 2, n);
}

}  // namespace ostrel::core
