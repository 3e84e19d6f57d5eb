#include "host/studio/settings_vocabulary.h"

#include <cmath>
#include <limits>

namespace plof::host::studio {

namespace {

constexpr double kAny = std::numeric_limits<double>::infinity();

const char *controlName(PageControl control) {
    switch (control) {
        case PageControl::Float: return "float";
        case PageControl::Whole: return "whole";
        case PageControl::Slider: return "slider";
        case PageControl::Check: return "check";
        case PageControl::Choice: return "choice";
    }
    return "float";
}

nlohmann::ordered_json bound(double value) {
    return std::isfinite(value) ? nlohmann::ordered_json(value) : nlohmann::ordered_json(nullptr);
}

}  // namespace

// In the order of the host's table of settings.
const std::array<PageSetting, kSettingCount> kPageSettings{{
    {"V0 Min", "units per second", PageControl::Float, -kAny, kAny, 0.0, "lowest launch speed"},
    {"V0 Max", "units per second", PageControl::Float, -kAny, kAny, 0.0,
     "speeds are V0 Min plus whole hundredths, below V0 Max"},
    {"Age Min", "frames", PageControl::Whole, -kAny, kAny, 1.0, "shortest flight"},
    {"Age Max", "frames", PageControl::Whole, -kAny, kAny, 1.0, "longest flight is one frame less"},
    {"Gravity", "units per second\u00b2", PageControl::Float, -kAny, kAny, 0.0, "pulls along -Y; negative lifts"},
    {"Registance", "per second", PageControl::Slider, 0.0, 5.0, 0.05,
     "air resistance; the options panel's slider shows 20 times this value (0 to 100)"},
    {"SparkFrame", "frame", PageControl::Whole, -kAny, kAny, 1.0, "first frame of emission"},
    {"BirthRate", "particles per second", PageControl::Whole, -kAny, kAny, 1.0, "launches per second"},
    {"Recycle", "on/off", PageControl::Check, 0.0, 1.0, 1.0, "relaunch each particle once every point has flown"},
    {"Spread Min", "degrees", PageControl::Slider, 0.0, 180.0, 1.0, "inner edge of the spread band, from +Y"},
    {"Spread Max", "degrees", PageControl::Slider, 0.0, 180.0, 1.0, "outer edge of the spread band, from +Y"},
    {"OrgEmitter", "", PageControl::Choice, 0.0, 2.0, 1.0, "where particles start and which way they leave"},
}};

const std::array<PageChoice, 3> kEmissionChoices{{
    {0, "from the pivot",
     "every particle starts at the item's pivot and leaves in a random direction of the spread band", true},
    {1, "straight out from the centre",
     "every particle starts at its own point and leaves straight out from the item's origin; the spread is not used",
     false},
    {2, "each point from its own place",
     "every particle starts at its own point and leaves in a random direction of the spread band", true},
}};

nlohmann::ordered_json settingsVocabularyJson() {
    nlohmann::ordered_json table = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const SettingRule &rule = kSettingRules[i];
        const PageSetting &page = kPageSettings[i];
        nlohmann::ordered_json entry{{"keyword", rule.keyword}, {"label", page.label},
                                     {"unit", page.unit},       {"control", controlName(page.control)},
                                     {"min", bound(page.min)},  {"max", bound(page.max)},
                                     {"step", page.step},       {"default", rule.newInstanceValue},
                                     {"note", page.note}};
        if (page.control == PageControl::Choice) {
            nlohmann::ordered_json choices = nlohmann::ordered_json::array();
            for (const PageChoice &choice : kEmissionChoices) {
                nlohmann::ordered_json unused = nlohmann::ordered_json::array();
                if (!choice.usesSpread)
                    unused = {ruleOf(Setting::SpreadMin).keyword, ruleOf(Setting::SpreadMax).keyword};
                choices.push_back({{"value", choice.value},
                                   {"label", choice.label},
                                   {"description", choice.description},
                                   {"unused", unused}});
            }
            entry["choices"] = choices;
        }
        table.push_back(entry);
    }
    table.push_back({{"keyword", kReferenceKeyword},
                     {"label", kAvoidLabel},
                     {"control", "item"},
                     {"none", kNoAvoidObject},
                     {"note", "resting particles wait at this item instead of their own item"}});
    return table;
}

}  // namespace plof::host::studio
