// The values a panel script's `set` and `expect` lines give a control, read
// as a person gives them to the control's kind: a whole number for number
// fields, one within a slider's ends, on or off for a check box, an object's
// name for the object list, and so on.
#pragma once

#include <string>
#include <vector>

#include "host/panels/panel_record.h"
#include "host/script/panel_script.h"

namespace plof::host {

// Stores `values` (the words after the control) in `control`. Returns ""
// when they were stored, else what is wrong with them and what the control
// takes, naming the control; the control is then unchanged. Object names are
// looked up through "LW Item Info", as the object list's own global function
// gives it.
std::string storeScriptValue(PlofControlRecord &control, const std::vector<ScriptWord> &values);

// How messages name a control: "#3 \"Gravity\" (float)", its creation number,
// label and kind.
std::string controlName(const PlofControlRecord &control);

}  // namespace plof::host
