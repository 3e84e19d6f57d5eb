#include "panel/panel_layer.h"

#include <cstring>

#include "base/number_format.h"

namespace plof {

namespace {

// A value record of one type, zero-filled, for one call into the host: the
// caller writes the payload, hands the record over and reads the payload
// back right after the call.
ControlValue valueRecord(int32_t type) {
    ControlValue record;
    std::memset(&record, 0, sizeof record);
    record.type = type;
    return record;
}

// The integer payload is a pointer-sized word; control values are 32 bits.
int32_t narrow(intptr_t word) { return static_cast<int32_t>(word); }

void setWord(const PlofPanelServices &services, PlofControl control, int32_t code, intptr_t word) {
    ControlValue record = valueRecord(PLOF_VALUE_INTEGER);
    record.value.integer = word;
    services.setControlAttribute(control, code, &record);
}

}  // namespace

int32_t getIntegerValue(const PlofPanelServices &services, PlofControl control) {
    ControlValue record = valueRecord(PLOF_VALUE_INTEGER);
    services.getControlAttribute(control, PLOF_CONTROL_VALUE, &record);
    return narrow(record.value.integer);
}

void setIntegerValue(const PlofPanelServices &services, PlofControl control, int32_t value) {
    setWord(services, control, PLOF_CONTROL_VALUE, value);
}

double getFloatValue(const PlofPanelServices &services, PlofControl control) {
    ControlValue record = valueRecord(PLOF_VALUE_FLOAT);
    services.getControlAttribute(control, PLOF_CONTROL_VALUE, &record);
    return record.value.number;
}

void setFloatValue(const PlofPanelServices &services, PlofControl control, double value) {
    ControlValue record = valueRecord(PLOF_VALUE_FLOAT);
    record.value.number = value;
    services.setControlAttribute(control, PLOF_CONTROL_VALUE, &record);
}

void setTextValue(const PlofPanelServices &services, PlofControl control, const char *text) {
    ControlValue record = valueRecord(PLOF_VALUE_TEXT);
    // The host only reads a text that is being set.
    record.value.text.buffer = const_cast<char *>(text);
    record.value.text.length = static_cast<int32_t>(std::strlen(text));
    services.setControlAttribute(control, PLOF_CONTROL_VALUE, &record);
}

void getTextValue(const PlofPanelServices &services, PlofControl control, char *buffer, int32_t capacity) {
    ControlValue record = valueRecord(PLOF_VALUE_TEXT);
    buffer[0] = '\0';
    record.value.text.buffer = buffer;
    record.value.text.length = capacity;
    services.getControlAttribute(control, PLOF_CONTROL_VALUE, &record);
    buffer[capacity - 1] = '\0';
}

std::array<int32_t, 3> getIntVectorValue(const PlofPanelServices &services, PlofControl control) {
    ControlValue record = valueRecord(PLOF_VALUE_INT_VECTOR);
    services.getControlAttribute(control, PLOF_CONTROL_VALUE, &record);
    return {record.value.integers[0], record.value.integers[1], record.value.integers[2]};
}

Vec3 getFloatVectorValue(const PlofPanelServices &services, PlofControl control) {
    ControlValue record = valueRecord(PLOF_VALUE_FLOAT_VECTOR);
    services.getControlAttribute(control, PLOF_CONTROL_VALUE, &record);
    return {record.value.numbers[0], record.value.numbers[1], record.value.numbers[2]};
}

void setFloatVectorValue(const PlofPanelServices &services, PlofControl control, const Vec3 &value) {
    ControlValue record = valueRecord(PLOF_VALUE_FLOAT_VECTOR);
    for (int i = 0; i < 3; ++i) record.value.numbers[i] = value[i];
    services.setControlAttribute(control, PLOF_CONTROL_VALUE, &record);
}

void setControlEvent(const PlofPanelServices &services, PlofControl control, PlofEventFunc event, void *userData) {
    setWord(services, control, PLOF_CONTROL_USER_DATA, reinterpret_cast<intptr_t>(userData));
    setWord(services, control, PLOF_CONTROL_EVENT, reinterpret_cast<intptr_t>(event));
}

ControlDescription describeControl(int32_t type, intptr_t w0, intptr_t w1, intptr_t w2, intptr_t w3, intptr_t w4) {
    ControlDescription description;
    description.type = type;
    description.words[0] = w0;
    description.words[1] = w1;
    description.words[2] = w2;
    description.words[3] = w3;
    description.words[4] = w4;
    return description;
}

void placeControl(const PlofPanelServices &services, PlofControl control, int32_t column, int32_t row) {
    ControlValue record = valueRecord(PLOF_VALUE_INTEGER);
    services.getControlAttribute(control, PLOF_CONTROL_LABEL_WIDTH, &record);
    const int64_t labelWidth = record.value.integer;
    record.value.integer = clampToInt32(int64_t{column} - labelWidth);
    services.setControlAttribute(control, PLOF_CONTROL_X, &record);
    record.value.integer = clampToInt32(int64_t{kRowPitch} * row);
    services.setControlAttribute(control, PLOF_CONTROL_Y, &record);
}

void setPanelRows(const PlofPanelServices &services, PlofPanel panel, int32_t rows) {
    int32_t height = clampToInt32(int64_t{kPanelRowHeight} * rows);
    services.setPanelAttribute(panel, PLOF_PANEL_HEIGHT, &height);
}

}  // namespace plof
