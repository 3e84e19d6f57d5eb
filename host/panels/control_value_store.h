// Values kept by a control, as the host stores what the module or the script
// sets and answers what the module reads (control attribute 4).
//
// The host stores values as set: a slider keeps a value outside its range and
// a check box keeps any integer. Only the script's own `set` lines are held
// to what a person could do (script_runner.cpp).
#pragma once

#include "host/panels/panel_record.h"

namespace plof::host {

// Stores the payload of `value` (by its type code) into the control. A text
// is copied up to its NUL or its length, whichever comes first.
void storeControlValue(PlofControlRecord &control, const PlofControlValue &value);

// Fills the payload of `value` (by its type code) from the control. A text is
// cut to the capacity in value.text.length, NUL included.
void loadControlValue(const PlofControlRecord &control, PlofControlValue &value);

// Sets the control's integer and its float alike.
void storeInteger(PlofControlRecord &control, intptr_t integer);
void storeNumber(PlofControlRecord &control, double number);

}  // namespace plof::host
