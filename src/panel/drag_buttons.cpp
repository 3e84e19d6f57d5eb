#include "panel/drag_buttons.h"

#include <cstdint>

#include "base/number_format.h"
#include "panel/options_panel.h"
#include "panel/panel_layer.h"

namespace plof {

namespace {

// What one drag button changes: the fields of the range's two ends (read in
// this order, minimum first), which end it moves, and for ages the context's
// record of the value when the drag started.
struct DragRule {
    OptionsControl minimum;
    OptionsControl maximum;
    bool movesMinimum;
    int32_t OptionsPanelContext::*anchor;  // null for speeds, which have none
};

constexpr DragRule kSpeedMinimum{kV0MinField, kV0MaxField, true, nullptr};
constexpr DragRule kSpeedMaximum{kV0MinField, kV0MaxField, false, nullptr};
constexpr DragRule kAgeMinimum{kAgeMinField, kAgeMaxField, true, &OptionsPanelContext::ageMinAnchor};
constexpr DragRule kAgeMaximum{kAgeMinField, kAgeMaxField, false, &OptionsPanelContext::ageMaxAnchor};

// A drag's half-measure of -1, 0 or 1 marks the start of a drag.
bool dragStarts(int32_t half) { return half >= -1 && half <= 1; }

// The dragged end stays on its side of the other end, then at 0 or above.
template <typename Value>
Value keepInRange(const DragRule &rule, Value value, Value minimum, Value maximum) {
    if (rule.movesMinimum && value > maximum) value = maximum;
    if (!rule.movesMinimum && value < minimum) value = minimum;
    if (value < 0) value = 0;
    return value;
}

void dragSpeed(const DragRule &rule, OptionsPanelContext &context, int32_t d) {
    const PlofPanelServices &services = *context.services;
    const double minimum = getFloatValue(services, context.controls[rule.minimum]);
    const double maximum = getFloatValue(services, context.controls[rule.maximum]);
    const double moved = (rule.movesMinimum ? minimum : maximum) - d / 100.0;
    const OptionsControl field = rule.movesMinimum ? rule.minimum : rule.maximum;
    setFloatValue(services, context.controls[field], keepInRange(rule, moved, minimum, maximum));
}

void dragAge(const DragRule &rule, OptionsPanelContext &context, int32_t d) {
    const PlofPanelServices &services = *context.services;
    const int32_t half = d / 2;
    const int32_t minimum = getIntegerValue(services, context.controls[rule.minimum]);
    const int32_t maximum = getIntegerValue(services, context.controls[rule.maximum]);
    int32_t &anchor = context.*rule.anchor;
    if (dragStarts(half)) anchor = rule.movesMinimum ? minimum : maximum;
    // In 64 bits the anchor minus the drag cannot overflow; keeping it in
    // the range then brings the value back into the control's.
    const int64_t moved = int64_t{anchor} - half;
    const OptionsControl field = rule.movesMinimum ? rule.minimum : rule.maximum;
    setIntegerValue(services, context.controls[field],
                    clampToInt32(keepInRange<int64_t>(rule, moved, minimum, maximum)));
}

void drag(const DragRule &rule, PlofControl dragButton, void *userData) {
    OptionsPanelContext &context = *static_cast<OptionsPanelContext *>(userData);
    const int32_t d = getIntVectorValue(*context.services, dragButton)[1];
    if (rule.anchor == nullptr) {
        dragSpeed(rule, context, d);
    } else {
        dragAge(rule, context, d);
    }
}

}  // namespace

void dragV0Min(PlofControl dragButton, void *context) { drag(kSpeedMinimum, dragButton, context); }
void dragV0Max(PlofControl dragButton, void *context) { drag(kSpeedMaximum, dragButton, context); }
void dragAgeMin(PlofControl dragButton, void *context) { drag(kAgeMinimum, dragButton, context); }
void dragAgeMax(PlofControl dragButton, void *context) { drag(kAgeMaximum, dragButton, context); }

}  // namespace plof
