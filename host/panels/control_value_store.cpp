#include "host/panels/control_value_store.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace plof::host {

namespace {

// A float read as an integer is truncated toward zero, saturating at the
// integer's range; NaN reads as 0.
intptr_t truncateToWord(double number) {
    if (std::isnan(number)) return 0;
    constexpr double kLow = static_cast<double>(std::numeric_limits<int32_t>::min());
    constexpr double kHigh = static_cast<double>(std::numeric_limits<int32_t>::max());
    if (number <= kLow) return std::numeric_limits<int32_t>::min();
    if (number >= kHigh) return std::numeric_limits<int32_t>::max();
    return static_cast<intptr_t>(number);
}

}  // namespace

void storeInteger(PlofControlRecord &control, intptr_t integer) {
    control.integer = integer;
    control.number = static_cast<double>(integer);
}

void storeNumber(PlofControlRecord &control, double number) {
    control.number = number;
    control.integer = truncateToWord(number);
}

void storeControlValue(PlofControlRecord &control, const PlofControlValue &value) {
    switch (value.type) {
        case PLOF_VALUE_TEXT:
            if (value.value.text.buffer && value.value.text.length > 0) {
                const std::size_t length =
                    strnlen(value.value.text.buffer, static_cast<std::size_t>(value.value.text.length));
                control.text.assign(value.value.text.buffer, length);
            } else {
                control.text.clear();
            }
            break;
        case PLOF_VALUE_INTEGER: storeInteger(control, value.value.integer); break;
        case PLOF_VALUE_FLOAT: storeNumber(control, value.value.number); break;
        case PLOF_VALUE_INT_VECTOR:
            std::memcpy(control.integers.data(), value.value.integers, sizeof value.value.integers);
            break;
        case PLOF_VALUE_FLOAT_VECTOR:
            std::memcpy(control.numbers.data(), value.value.numbers, sizeof value.value.numbers);
            break;
        default: break;  // an unknown type carries nothing the host can keep
    }
}

void loadControlValue(const PlofControlRecord &control, PlofControlValue &value) {
    switch (value.type) {
        case PLOF_VALUE_TEXT:
            if (value.value.text.buffer && value.value.text.length > 0) {
                const std::size_t capacity = static_cast<std::size_t>(value.value.text.length);
                const std::size_t length = std::min(control.text.size(), capacity - 1);
                std::memcpy(value.value.text.buffer, control.text.data(), length);
                value.value.text.buffer[length] = '\0';
            }
            break;
        case PLOF_VALUE_INTEGER: value.value.integer = control.integer; break;
        case PLOF_VALUE_FLOAT: value.value.number = control.number; break;
        case PLOF_VALUE_INT_VECTOR:
            std::memcpy(value.value.integers, control.integers.data(), sizeof value.value.integers);
            break;
        case PLOF_VALUE_FLOAT_VECTOR:
            std::memcpy(value.value.numbers, control.numbers.data(), sizeof value.value.numbers);
            break;
        default: break;
    }
}

}  // namespace plof::host
