// Small dense linear solvers of the regression kinds. Both work in place on the
// caller's buffers and fail (return false) on a pivot of magnitude below 1e-12.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <utility>

namespace ostrel::core {

// Back substitution on an upper-triangular row-major m x m system:
// z[i] = (b[i] - sum over j > i of a[i][j] z[j]) / a[i][i], the sum from 0 with j
// ascending.
inline void back_substitute(const double* a, const double* b, std::size_t m, double* z) {
    for (std::size_t i = m; i-- > 0;) {
        double s = 0.0;
        for (std::size_t j = i + 1; j < m; ++j) s = s + a[i * m + j] * z[j];
        z[i] = (b[i] - s) / a[i * m + i];
    }
}

// Gaussian elimination without row exchanges on the row-major m x m matrix a and
// the vector b (both overwritten); the solution goes to z.
inline bool solve_in_place(double* a, double* b, std::size_t m, double* z) {
    for (std::size_t c = 0; c < m; ++c) {
        const double pivot = a[c * m + c];
        if (std::fabs(pivot) < 1e-12) return false;
        for (std::size_t r = c + 1; r < m; ++r) {
            const double f = a[r * m + c] / pivot;
            for (std::size_t j = c; j < m; ++j) a[r * m + j] = a[r * m + j] - f * a[c * m + j];
            b[r] = b[r] - f * b[c];
        }
    }
    back_substitute(a, b, m, z);
    return true;
}

// 4 x 4 Gaussian elimination with partial pivoting: the pivot row of a column is
// the row, from the current one down, of largest magnitude there (the last such
// row on ties).
inline bool solve4(std::array<double, 16> a, std::array<double, 4> b, std::array<double, 4>& z) {
    for (std::size_t c = 0; c < 4; ++c) {
        std::size_t best = c;
        double best_mag = std::fabs(a[c * 4 + c]);
        for (std::size_t r = c + 1; r < 4; ++r) {
            const double mag = std::fabs(a[r * 4 + c]);
            if (mag >= best_mag) {
                best = r;
                best_mag = mag;
            }
        }
        if (best != c) {
            for (std::size_t j = 0; j < 4; ++j) std::swap(a[c * 4 + j], a[best * 4 + j]);
            std::swap(b[c], b[best]);
        }
        const double pivot = a[c * 4 + c];
        if (std::fabs(pivot) < 1e-12) return false;
        for (std::size_t r = c + 1; r < 4; ++r) {
            const double f = a[r * 4 + c] / pivot;
            for (std::size_t j = c; j < 4; ++j) a[r * 4 + j] = a[r * 4 + j] - f * a[c * 4 + j];
            b[r] = b[r] - f * b[c];
        }
    }
    back_substitute(a.data(), b.data(), 4, z.data());
    return true;
}

}  // namespace ostrel::core
