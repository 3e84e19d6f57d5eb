// The settings as the studio's page offers them, one entry per setting of
// the host's table (settings_reading.h), in its order: a label of its own
// for each field ("V0 Max", "Age Max", where the options panel labels two
// fields "Max"), the unit, the control and what it takes, and a word where
// the page shows a setting otherwise than the panel (Registance in one unit,
// OrgEmit as its three choices). Requests are checked against it and its
// refusals use its labels.
#pragma once

#include <array>
#include <string_view>

#include <nlohmann/json.hpp>

#include "host/settings/settings_reading.h"

namespace plof::host::studio {

enum class PageControl { Float, Whole, Slider, Check, Choice };

// One choice of a Choice control.
struct PageChoice {
    int value;
    const char *label;        // "from the pivot"
    const char *description;  // what it does, in a sentence
    bool usesSpread;          // false: the spread settings play no part
};

struct PageSetting {
    const char *label;
    const char *unit;
    PageControl control;
    // What the page offers (and a request may ask for): a range (infinite:
    // any number), steps (0: any number).
    double min;
    double max;
    double step;
    const char *note;  // "" or a word shown beside the field
};

extern const std::array<PageSetting, kSettingCount> kPageSettings;
inline const PageSetting &pageSetting(Setting setting) { return kPageSettings[static_cast<std::size_t>(setting)]; }

// OrgEmit's choices; any value above the last chooses as the last does.
extern const std::array<PageChoice, 3> kEmissionChoices;

// The label of the avoid object's list, and the value that names no item.
inline constexpr std::string_view kAvoidLabel = "Avoid Object";
inline constexpr std::string_view kNoAvoidObject = "none";

// The table a page builds its controls from (GET /api/state's
// "settingsTable"): per setting {"keyword", "label", "unit", "control"
// ("float", "whole", "slider", "check", "choice"), "min", "max" (null: any),
// "step" (0: any), "default", "note"} and for a choice its "choices"
// [{"value", "label", "description", "unused": [keywords it ignores]}]; then
// the avoid object {"keyword": "REFERENCE", "label", "control": "item",
// "none": "none"}.
nlohmann::ordered_json settingsVocabularyJson();

}  // namespace plof::host::studio
