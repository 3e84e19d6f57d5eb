// A double's binary exponent and exact scaling by powers of two, from its
// bits: what the C library's frexp and ldexp do, without the C library.
#pragma once

#include <cstdint>
#include <cstring>

namespace plof {

// 2^n for -1022 <= n <= 1023.
inline double powerOfTwo(int n) {
    const uint64_t bits = static_cast<uint64_t>(n + 1023) << 52;
    double result = 0.0;
    std::memcpy(&result, &bits, sizeof result);
    return result;
}

// floor(log2 |v|) for finite v != 0, subnormals included.
inline int binaryExponent(double v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    if (biased != 0) return biased - 1023;
    return binaryExponent(v * 0x1p64) - 64;
}

// v * 2^n, exact when v and the result are normal or the result is a
// subnormal that keeps every bit of v (as when v is itself subnormal and n > 0).
inline double timesPowerOfTwo(double v, int n) {
    for (; n > 1000; n -= 1000) v *= 0x1p1000;
    for (; n < -1000; n += 1000) v *= 0x1p-1000;
    return v * powerOfTwo(n);
}

}  // namespace plof
