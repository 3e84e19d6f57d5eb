// Prints the bits of portable_math.h's results on a sample, so that the win32
// suite can run it natively and as a Windows program under Wine and require
// the same bytes: trig_sample COUNT [CALLS_FILE]
// - COUNT arguments drawn from a fixed sequence (exponents -26..26 for sin,
//   cos and tan; pairs for atan2 with exponents -1074..1023), each line
//   "s|c|t|a ARGUMENT-BITS [X-BITS] RESULT-BITS" in hexadecimal;
// - then each line of CALLS_FILE ("s|c|t BITS" or "a Y-BITS X-BITS"), the same way.
// Bits rather than decimal text, so that no C library formats or parses a double.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "math/portable_math.h"

namespace {

uint64_t bitsOf(double v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

double fromBits(uint64_t bits) {
    double v = 0.0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// Two 32-bit halves: msvcrt's printf has no portable 64-bit conversion.
void printBits(uint64_t bits) {
    std::printf(" %08x%08x", static_cast<unsigned>(bits >> 32), static_cast<unsigned>(bits & 0xffffffffu));
}

void printCall(char function, double y, double x) {
    std::printf("%c", function);
    if (function == 'a') printBits(bitsOf(y));
    printBits(bitsOf(x));
    double result = 0.0;
    switch (function) {
        case 's': result = plof::portableSin(x); break;
        case 'c': result = plof::portableCos(x); break;
        case 't': result = plof::portableTan(x); break;
        default: result = plof::portableAtan2(y, x); break;
    }
    printBits(bitsOf(result));
    std::printf("\n");
}

uint64_t splitMix(uint64_t &state) {
    uint64_t z = (state += 0x9e3779b97f4a7c15u);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
}

// A double with random significand and sign, and the biased exponent given.
double drawn(uint64_t &state, int biasedExponent) {
    const uint64_t random = splitMix(state);
    return fromBits((random & 0x800fffffffffffffu) | (static_cast<uint64_t>(biasedExponent) << 52));
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: trig_sample COUNT [CALLS_FILE]\n");
        return 2;
    }
    const long count = std::strtol(argv[1], nullptr, 10);
    uint64_t state = 26;
    for (long i = 0; i < count; ++i) {
        const double x = drawn(state, 1023 - 26 + static_cast<int>(splitMix(state) % 53));
        for (char function : {'s', 'c', 't'}) printCall(function, 0.0, x);
        const int xExponent = 1 + static_cast<int>(splitMix(state) % 2046);
        const int yExponent = xExponent - 64 + static_cast<int>(splitMix(state) % 129);
        // Drawn one after the other: the order of a call's arguments is the compiler's choice.
        const double arcY = drawn(state, yExponent < 1 ? 1 : yExponent > 2046 ? 2046 : yExponent);
        const double arcX = drawn(state, xExponent);
        printCall('a', arcY, arcX);
    }
    if (argc == 3) {
        FILE *calls = std::fopen(argv[2], "r");
        if (calls == nullptr) {
            std::fprintf(stderr, "trig_sample: cannot read %s\n", argv[2]);
            return 3;
        }
        char line[128];
        while (std::fgets(line, sizeof line, calls) != nullptr) {
            char *rest = line + 1;
            const uint64_t first = std::strtoull(rest, &rest, 16);
            if (line[0] == 'a') {
                printCall('a', fromBits(first), fromBits(std::strtoull(rest, nullptr, 16)));
            } else {
                printCall(line[0], 0.0, fromBits(first));
            }
        }
        std::fclose(calls);
    }
    return 0;
}
