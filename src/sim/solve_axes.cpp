#include "sim/solve_axes.h"

#include "instance/module_state.h"

namespace plof {

void solveAxes(const Vec3 &a, const Vec3 &b, const Vec3 &c, const Vec3 &d, Vec3 &out) {
    SolveWorkspace &w = moduleState().solve;
    for (w.counter = 0; w.counter < 3; ++w.counter) {
        w.a[w.counter] = a[w.counter];
        w.b[w.counter] = b[w.counter];
        w.c[w.counter] = c[w.counter];
    }
    const Vec3 &A = w.a;
    const Vec3 &B = w.b;
    const Vec3 &C = w.c;

    // The terms are summed in this order on every build: the results are
    // compared bit for bit.
    w.determinant = A[0] * B[1] * C[2] + A[1] * B[2] * C[0] + A[2] * B[0] * C[1] - A[2] * B[1] * C[0] -
                    A[1] * B[0] * C[2] - A[0] * B[2] * C[1];

    auto &k = w.cofactors;
    k[0] = C[1] * B[2] - B[1] * C[2];
    k[1] = C[2] * B[0] - B[2] * C[0];
    k[2] = B[1] * C[0] - C[1] * B[0];
    k[3] = A[1] * C[2] - C[1] * A[2];
    k[4] = A[2] * C[0] - C[2] * A[0];
    k[5] = C[1] * A[0] - A[1] * C[0];
    k[6] = B[1] * A[2] - A[1] * B[2];
    k[7] = B[2] * A[0] - B[0] * A[2];
    k[8] = A[1] * B[0] - B[1] * A[0];

    for (w.counter = 0; w.counter < 3; ++w.counter) {
        const int32_t row = 3 * w.counter;
        w.numerators[w.counter] = d[0] * k[row] + d[1] * k[row + 1] + d[2] * k[row + 2];
    }
    for (w.counter = 0; w.counter < 3; ++w.counter) {
        out[w.counter] = w.numerators[w.counter] / w.determinant;
    }
}

}  // namespace plof
