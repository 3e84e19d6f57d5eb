// The module's small layer over the host's panel services: typed values,
// the control description, and placement by column and row.
//
// Every panel of the module (options, scene baking) goes through these
// helpers. Each value crosses to the host in a typed record of the helper's
// own, which lives for the one call into the host: the host reads or fills
// the payload during the call and keeps nothing of it. The services record
// is the one returned by "LWPanelServices"; it is owned by the host.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "base/vec3.h"
#include "plof/panel_services.h"

namespace plof {

using ControlValue = PlofControlValue;
using ControlDescription = PlofControlDescription;

// Value of an integer control (number fields, check boxes, sliders, item lists).
int32_t getIntegerValue(const PlofPanelServices &services, PlofControl control);
void setIntegerValue(const PlofPanelServices &services, PlofControl control, int32_t value);

// Value of a float control.
double getFloatValue(const PlofPanelServices &services, PlofControl control);
void setFloatValue(const PlofPanelServices &services, PlofControl control, double value);

// Value of a text control. `text` is read during the call only. getTextValue
// hands the host `capacity` as the buffer size and always leaves `buffer`
// NUL-terminated within it, whatever the host wrote (capacity must be > 0).
void setTextValue(const PlofPanelServices &services, PlofControl control, const char *text);
void getTextValue(const PlofPanelServices &services, PlofControl control, char *buffer, int32_t capacity);

// Value of a drag button: three integers, the second being the drag measure.
std::array<int32_t, 3> getIntVectorValue(const PlofPanelServices &services, PlofControl control);

// Value of a vector float control.
Vec3 getFloatVectorValue(const PlofPanelServices &services, PlofControl control);
void setFloatVectorValue(const PlofPanelServices &services, PlofControl control, const Vec3 &value);

// Gives a control its event and the user data the event is called with.
void setControlEvent(const PlofPanelServices &services, PlofControl control, PlofEventFunc event, void *userData);

// A control description: the type code, then up to five words (the rest
// become 0), to hand to addControl, which reads it during the call.
ControlDescription describeControl(int32_t type, intptr_t w0 = 0, intptr_t w1 = 0, intptr_t w2 = 0, intptr_t w3 = 0,
                                   intptr_t w4 = 0);

// Puts a control's data field at `column` with its label to the left of it,
// in row `row` (rows are 20 pixels apart).
void placeControl(const PlofPanelServices &services, PlofControl control, int32_t column, int32_t row);

// Makes the panel `rows` rows of 26 pixels high.
void setPanelRows(const PlofPanelServices &services, PlofPanel panel, int32_t rows);

inline constexpr int32_t kRowPitch = 20;
inline constexpr int32_t kPanelRowHeight = 26;

}  // namespace plof
