#include "math/wide_fixed.h"

#include <cstring>

namespace plof {

namespace {

int fractionBits(const Fixed &a) { return 32 * (a.words - 1); }

// The 64 bits of a from bit `low` up (zeros below the unit and above the top).
uint64_t bitsFrom(const Fixed &a, int low) {
    if (low < 0) return low <= -64 ? 0 : bitsFrom(a, 0) << -low;
    const int word = low / 32;
    const int shift = low % 32;
    auto wordAt = [&](int i) { return i < a.words ? uint64_t{a.w[i]} : uint64_t{0}; };
    const uint64_t lowWords = wordAt(word) | (wordAt(word + 1) << 32);
    return shift == 0 ? lowWords : (lowWords >> shift) | (wordAt(word + 2) << (64 - shift));
}

// a |= bits * 2^position (in units), dropping what falls below the unit or above the top.
void orBitsAt(Fixed &a, uint64_t bits, int position) {
    if (position < 0) {
        if (position <= -64) return;
        bits >>= -position;
        position = 0;
    }
    const int word = position / 32;
    const int shift = position % 32;
    const uint32_t parts[3] = {static_cast<uint32_t>(bits << shift),
                               static_cast<uint32_t>(shift == 0 ? bits >> 32 : bits >> (32 - shift)),
                               static_cast<uint32_t>(shift == 0 ? 0 : bits >> (64 - shift))};
    for (int i = 0; i < 3 && word + i < a.words; ++i) a.w[word + i] |= parts[i];
}

// Whether any bit below `position` is set.
bool anyBitBelow(const Fixed &a, int position) {
    if (position <= 0) return false;
    const int word = position / 32;
    for (int i = 0; i < word && i < a.words; ++i) {
        if (a.w[i] != 0) return true;
    }
    const int bits = position % 32;
    return bits != 0 && word < a.words && (a.w[word] & ((1u << bits) - 1)) != 0;
}

}  // namespace

Fixed fixedUnits(uint64_t n, int words) {
    Fixed a;
    a.words = words;
    a.w[0] = static_cast<uint32_t>(n);
    if (words > 1) a.w[1] = static_cast<uint32_t>(n >> 32);
    return a;
}

Fixed fixedFromDouble(double v, int words) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    const int biased = static_cast<int>(bits >> 52);
    Fixed a = fixedUnits(0, words);
    if (biased == 0) return a;  // zero or subnormal: below any unit used
    const uint64_t mantissa = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
    // v = mantissa * 2^(biased - 1075), and the unit is 2^-(32 (words - 1)).
    orBitsAt(a, mantissa, biased - 1075 + 32 * (words - 1));
    return a;
}

Fixed fixedFromWords(const uint32_t *mostSignificantFirst, int words) {
    Fixed a;
    a.words = words;
    for (int i = 0; i < words; ++i) a.w[words - 1 - i] = mostSignificantFirst[i];
    return a;
}

bool isZero(const Fixed &a) {
    for (int i = 0; i < a.words; ++i) {
        if (a.w[i] != 0) return false;
    }
    return true;
}

int compare(const Fixed &a, const Fixed &b) {
    for (int i = a.words - 1; i >= 0; --i) {
        if (a.w[i] != b.w[i]) return a.w[i] < b.w[i] ? -1 : 1;
    }
    return 0;
}

void add(Fixed &a, const Fixed &b) {
    uint64_t carry = 0;
    for (int i = 0; i < a.words; ++i) {
        carry += uint64_t{a.w[i]} + b.w[i];
        a.w[i] = static_cast<uint32_t>(carry);
        carry >>= 32;
    }
}

void subtract(Fixed &a, const Fixed &b) {
    uint64_t borrow = 0;
    for (int i = 0; i < a.words; ++i) {
        const uint64_t taken = uint64_t{b.w[i]} + borrow;
        borrow = a.w[i] < taken ? 1 : 0;
        a.w[i] = static_cast<uint32_t>((uint64_t{a.w[i]} + (borrow << 32)) - taken);
    }
}

Fixed difference(const Fixed &a, const Fixed &b, bool &negative) {
    negative = compare(a, b) < 0;
    Fixed result = negative ? b : a;
    subtract(result, negative ? a : b);
    return result;
}

Fixed multiply(const Fixed &a, const Fixed &b) {
    const int n = a.words;
    uint32_t product[2 * kMaxFixedWords] = {};
    for (int i = 0; i < n; ++i) {
        if (a.w[i] == 0) continue;  // the later terms of a series have leading zero words
        uint64_t carry = 0;
        for (int j = 0; j < n; ++j) {
            carry += uint64_t{a.w[i]} * b.w[j] + product[i + j];
            product[i + j] = static_cast<uint32_t>(carry);
            carry >>= 32;
        }
        product[i + n] = static_cast<uint32_t>(carry);
    }
    // The product has 2 (n - 1) words of fraction: drop the lowest n - 1.
    Fixed result;
    result.words = n;
    for (int i = 0; i < n; ++i) result.w[i] = product[i + n - 1];
    return result;
}

void multiplyBySmall(Fixed &a, uint32_t m) {
    uint64_t carry = 0;
    for (int i = 0; i < a.words; ++i) {
        carry += uint64_t{a.w[i]} * m;
        a.w[i] = static_cast<uint32_t>(carry);
        carry >>= 32;
    }
}

void divideBySmall(Fixed &a, uint32_t d) {
    uint64_t remainder = 0;
    for (int i = a.words - 1; i >= 0; --i) {
        const uint64_t part = (remainder << 32) | a.w[i];
        a.w[i] = static_cast<uint32_t>(part / d);
        remainder = part % d;
    }
}

Fixed divide(const Fixed &a, const Fixed &b) {
    // Long division in base 2^32 (Knuth's algorithm D, as in Hacker's
    // Delight's divmnu): the dividend is a's words moved up by the fraction's
    // words (a * 2^fractionBits as an integer), the divisor b's words without
    // its leading zero words; both are shifted so that the divisor's top word
    // has its top bit set, which keeps each estimated quotient word at most 2
    // above the true one.
    const int n = a.words;
    const int dividendLength = 2 * n - 1;
    uint32_t dividend[2 * kMaxFixedWords + 1] = {};
    for (int i = 0; i < n; ++i) dividend[i + n - 1] = a.w[i];
    int length = n;
    while (b.w[length - 1] == 0) --length;
    Fixed quotient = fixedUnits(0, n);
    if (length == 1) {
        // One word of divisor: its value as an integer, and the dividend divided word by word.
        uint64_t remainder = 0;
        for (int i = dividendLength - 1; i >= 0; --i) {
            const uint64_t part = (remainder << 32) | dividend[i];
            if (i < n) quotient.w[i] = static_cast<uint32_t>(part / b.w[0]);
            remainder = part % b.w[0];
        }
        return quotient;
    }
    const int shift = 31 - highestBit(fixedUnits(b.w[length - 1], 1));
    uint32_t divisor[kMaxFixedWords] = {};
    for (int i = length - 1; i >= 0; --i) {
        divisor[i] = (b.w[i] << shift) | (shift != 0 && i > 0 ? b.w[i - 1] >> (32 - shift) : 0u);
    }
    for (int i = dividendLength; i >= 0; --i) {
        const uint32_t high = i < dividendLength ? dividend[i] << shift : 0u;
        dividend[i] = high | (shift != 0 && i > 0 ? dividend[i - 1] >> (32 - shift) : 0u);
    }
    constexpr uint64_t kBase = uint64_t{1} << 32;
    for (int j = dividendLength - length; j >= 0; --j) {
        const uint64_t top = (uint64_t{dividend[j + length]} << 32) | dividend[j + length - 1];
        uint64_t estimate = top / divisor[length - 1];
        uint64_t rest = top % divisor[length - 1];
        while (estimate >= kBase || estimate * divisor[length - 2] > ((rest << 32) | dividend[j + length - 2])) {
            --estimate;
            rest += divisor[length - 1];
            if (rest >= kBase) break;
        }
        // Subtract estimate * divisor from the dividend's words j..j+length.
        int64_t borrow = 0;
        for (int i = 0; i < length; ++i) {
            const uint64_t product = estimate * divisor[i];
            const int64_t word = int64_t{dividend[i + j]} - borrow - static_cast<int64_t>(product & 0xffffffffu);
            dividend[i + j] = static_cast<uint32_t>(word);
            borrow = static_cast<int64_t>(product >> 32) - (word >> 32);
        }
        const int64_t last = int64_t{dividend[j + length]} - borrow;
        dividend[j + length] = static_cast<uint32_t>(last);
        if (last < 0) {
            // The estimate was one too many: add the divisor back.
            --estimate;
            uint64_t carry = 0;
            for (int i = 0; i < length; ++i) {
                carry += uint64_t{dividend[i + j]} + divisor[i];
                dividend[i + j] = static_cast<uint32_t>(carry);
                carry >>= 32;
            }
            dividend[j + length] += static_cast<uint32_t>(carry);
        }
        if (j < n) quotient.w[j] = static_cast<uint32_t>(estimate);
    }
    return quotient;
}

void shiftLeft(Fixed &a, int bits) {
    const int words = bits / 32;
    const int rest = bits % 32;
    for (int i = a.words - 1; i >= 0; --i) {
        const int from = i - words;
        const uint32_t high = from >= 0 ? a.w[from] : 0u;
        const uint32_t low = from - 1 >= 0 ? a.w[from - 1] : 0u;
        a.w[i] = rest == 0 ? high : (high << rest) | (low >> (32 - rest));
    }
}

int highestBit(const Fixed &a) {
    for (int i = a.words - 1; i >= 0; --i) {
        if (a.w[i] == 0) continue;
        int bit = 31;
        while (((a.w[i] >> bit) & 1u) == 0) --bit;
        return 32 * i + bit;
    }
    return -1;
}

Fixed withWords(const Fixed &a, int words) {
    Fixed result;
    result.words = words;
    const int shift = words - a.words;  // words of fraction gained (or lost, when negative)
    for (int i = 0; i < words; ++i) {
        const int from = i - shift;
        result.w[i] = from >= 0 && from < a.words ? a.w[from] : 0u;
    }
    return result;
}

double roundToDouble(const Fixed &a, int scale) {
    const int top = highestBit(a);
    if (top < 0) return 0.0;
    // The 53 bits from the top, the next (round) bit, and whether any is set below.
    const uint64_t window = bitsFrom(a, top - 63);
    uint64_t mantissa = window >> 11;
    const bool roundBit = ((window >> 10) & 1u) != 0;
    const bool below = (window & 0x3ffu) != 0 || anyBitBelow(a, top - 63);
    if (roundBit && (below || (mantissa & 1u) != 0)) ++mantissa;
    // a * 2^scale lies in [2^exponent, 2^(exponent + 1)); a mantissa that rounded
    // up to 2^53 carries into the exponent field by the addition.
    const int exponent = top - fractionBits(a) + scale;
    const uint64_t bits = (static_cast<uint64_t>(exponent + 1022) << 52) + mantissa;
    double result = 0.0;
    std::memcpy(&result, &bits, sizeof result);
    return result;
}

bool roundsOneWay(const Fixed &a, const Fixed &error, int scale, double &result) {
    if (compare(a, error) <= 0) return false;
    Fixed low = a;
    subtract(low, error);
    Fixed high = a;
    add(high, error);
    const double lowRounded = roundToDouble(low, scale);
    if (lowRounded != roundToDouble(high, scale)) return false;
    result = lowRounded;
    return true;
}

}  // namespace plof
