#include "sim/solve_axes.h"

#include <array>
#include <cstdint>

namespace plof {

double solveAxes(const Vec3 &a, const Vec3 &b, const Vec3 &c, const Vec3 &d, Vec3 &out) {
    // Copies, so that out may be one of the arguments.
    const Vec3 A = a;
    const Vec3 B = b;
    const Vec3 C = c;

    // The terms are summed in this order on every build: the results are
    // compared bit for bit.
    const double determinant = A[0] * B[1] * C[2] + A[1] * B[2] * C[0] + A[2] * B[0] * C[1] - A[2] * B[1] * C[0] -
                               A[1] * B[0] * C[2] - A[0] * B[2] * C[1];

    std::array<double, 9> k;
    k[0] = C[1] * B[2] - B[1] * C[2];
    k[1] = C[2] * B[0] - B[2] * C[0];
    k[2] = B[1] * C[0] - C[1] * B[0];
    k[3] = A[1] * C[2] - C[1] * A[2];
    k[4] = A[2] * C[0] - C[2] * A[0];
    k[5] = C[1] * A[0] - A[1] * C[0];
    k[6] = B[1] * A[2] - A[1] * B[2];
    k[7] = B[2] * A[0] - B[0] * A[2];
    k[8] = A[1] * B[0] - B[1] * A[0];

    Vec3 numerators;
    for (int32_t row = 0; row < 3; ++row) {
        numerators[row] = d[0] * k[3 * row] + d[1] * k[3 * row + 1] + d[2] * k[3 * row + 2];
    }
    for (int32_t j = 0; j < 3; ++j) out[j] = numerators[j] / determinant;
    return determinant;
}

}  // namespace plof
