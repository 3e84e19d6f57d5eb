// The settings a client asks for (PUT /api/items/N/settings) checked against
// what the page offers (settings_vocabulary.h), and the settings as the
// state shows them.
//
// A request is a JSON object {keyword: value, ...}: any of the twelve
// keywords with a number, or with the text a person typed ("4.5"), which the
// host reads, refusing a decimal comma ("4,5: use 4.5") rather than reading
// another number; and "REFERENCE" with the name of an item of the scene, or
// "none" (or "") for no avoid object. A value must be what the page offers:
// within a slider's, check box's or choice's range and steps, a whole number
// for whole-number fields, no more than kLargestSetting in size, at most six
// decimals (what a .plf file keeps); a value equal to the one the setting
// holds is taken as it is, so that a state's values are taken back
// unchanged (Regist 0.37 from a file, OrgEmit 7). Anything else refuses the
// whole request, naming the field by its label and what it takes.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/settings/settings_reading.h"

namespace plof::host::studio {

inline constexpr double kLargestSetting = 1e9;

struct SettingsRefusal {
    std::string field;    // the keyword of the field refused ("" for the request as a whole)
    std::string message;  // in the page's words: the field's label and what it takes
};

// Applies `request` to `settings`: true when every entry was taken; false,
// with `settings` unchanged and `refusal` about the first bad entry,
// otherwise. `itemNames` are the names the avoid object may take.
bool applySettingsRequest(const nlohmann::json &request, const std::vector<std::string> &itemNames,
                          EffectSettings &settings, SettingsRefusal &refusal);

// The settings as {keyword: value, ..., "REFERENCE": name or "none"}.
nlohmann::ordered_json settingsJson(const EffectSettings &settings);

}  // namespace plof::host::studio
