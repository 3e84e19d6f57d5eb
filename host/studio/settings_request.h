// The settings a client asks for (PUT /api/items/N/settings) checked against
// the host's table of settings, and the block lines that load them into the
// effect as a scene's block does.
//
// A request is a JSON object {keyword: value, ...}: any of the twelve
// keywords with a number the options panel could hold (a slider's or check
// box's range, a whole number for whole-number fields, Registance in steps of
// 0.05, at most six decimals, which a .plf file keeps, and no more than
// kLargestSetting in size), and "REFERENCE" with the name of an item of the
// scene, or "" for no avoid object. Anything else refuses the whole request.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/settings/settings_reading.h"

namespace plof::host::studio {

inline constexpr double kLargestSetting = 1e9;

// Applies `request` to `settings`: true when every entry was taken; false,
// with `settings` unchanged and `problem` naming the first bad entry and
// what it takes, otherwise. `itemNames` are the names the avoid object may take.
bool applySettingsRequest(const nlohmann::json &request, const std::vector<std::string> &itemNames,
                          EffectSettings &settings, std::string &problem);

// PLOF_START, a line per setting ("Gravity 9.800000"), REFERENCE and the
// avoid object's name when there is one, PLOF_END.
std::vector<std::string> settingsBlockLines(const EffectSettings &settings);

// The settings as {keyword: value, ..., "REFERENCE": name}.
nlohmann::ordered_json settingsJson(const EffectSettings &settings);

// The table of settings for a page's controls: per setting its keyword, the
// panel's label, unit, control ("float", "whole", "slider", "check"), range
// (null where unbounded), step (0: any number) and a new instance's value;
// then the avoid object (control "item").
nlohmann::ordered_json settingsVocabularyJson();

}  // namespace plof::host::studio
