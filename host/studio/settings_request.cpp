#include "host/studio/settings_request.h"

#include <cmath>

#include "host/base/code_page_text.h"
#include "host/base/number_text.h"

namespace plof::host::studio {

namespace {

const char *inputName(PanelInput input) {
    switch (input) {
        case PanelInput::Float: return "float";
        case PanelInput::Whole: return "whole";
        case PanelInput::Slider: return "slider";
        case PanelInput::Check: return "check";
    }
    return "float";
}

nlohmann::ordered_json bound(double value) {
    return std::isfinite(value) ? nlohmann::ordered_json(value) : nlohmann::ordered_json(nullptr);
}

// "" when `value` fits the setting; else what the setting takes.
std::string valueProblem(const SettingRule &rule, double value) {
    const std::string name = std::string(rule.keyword) + " ";
    if (!std::isfinite(value) || std::fabs(value) > kLargestSetting) {
        return name + "takes a finite number of at most " + shortestText(kLargestSetting) + " in size";
    }
    if (value < rule.panelMin || value > rule.panelMax) {
        return name + "takes " + shortestText(rule.panelMin) + " to " + shortestText(rule.panelMax);
    }
    if (rule.panelStep > 0.0) {
        // Positions of the control: a whole number of steps (20 per unit for Registance).
        const double perUnit = std::round(1.0 / rule.panelStep);
        if (std::round(value * perUnit) / perUnit != value) {
            return name + "takes steps of " + shortestText(rule.panelStep);
        }
    }
    if (parseNumber(fixedText(value)) != value) return name + "takes at most six decimals (what a .plf file keeps)";
    return "";
}

bool applyReference(const nlohmann::json &value, const std::vector<std::string> &itemNames, std::string &name,
                    std::string &problem) {
    if (!value.is_string()) {
        problem = "REFERENCE takes the name of an item of the scene, or \"\" for none";
        return false;
    }
    // The page names items in UTF-8; the effect keeps the host's name.
    const std::string wanted = value.get<std::string>();
    name.clear();
    if (wanted.empty()) return true;
    for (const std::string &item : itemNames) {
        if (utf8FromCodePage(item) == wanted) {
            name = item;
            return true;
        }
    }
    problem = "REFERENCE: the scene has no item named \"" + wanted + "\"";
    return false;
}

}  // namespace

bool applySettingsRequest(const nlohmann::json &request, const std::vector<std::string> &itemNames,
                          EffectSettings &settings, std::string &problem) {
    if (!request.is_object()) {
        problem = "the body must be a JSON object {keyword: value, ...}";
        return false;
    }
    EffectSettings changed = settings;
    for (const auto &[keyword, value] : request.items()) {
        if (keyword == kReferenceKeyword) {
            if (!applyReference(value, itemNames, changed.avoidObject, problem)) return false;
            continue;
        }
        std::size_t index = 0;
        while (index < kSettingCount && keyword != kSettingRules[index].keyword) ++index;
        if (index == kSettingCount) {
            problem = "\"" + keyword + "\" is no setting";
            return false;
        }
        if (!value.is_number()) {
            problem = keyword + " takes a number";
            return false;
        }
        problem = valueProblem(kSettingRules[index], value.get<double>());
        if (!problem.empty()) return false;
        changed.values[index] = value.get<double>();
    }
    settings = changed;
    return true;
}

std::vector<std::string> settingsBlockLines(const EffectSettings &settings) {
    std::vector<std::string> lines{"PLOF_START"};
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        lines.push_back(std::string(kSettingRules[i].keyword) + " " + fixedText(settings.values[i]));
    }
    if (!settings.avoidObject.empty()) {
        lines.emplace_back(kReferenceKeyword);
        lines.push_back(settings.avoidObject);
    }
    lines.emplace_back("PLOF_END");
    return lines;
}

nlohmann::ordered_json settingsJson(const EffectSettings &settings) {
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    for (std::size_t i = 0; i < kSettingCount; ++i) json[kSettingRules[i].keyword] = settings.values[i];
    json[std::string(kReferenceKeyword)] = utf8FromCodePage(settings.avoidObject);
    return json;
}

nlohmann::ordered_json settingsVocabularyJson() {
    nlohmann::ordered_json table = nlohmann::ordered_json::array();
    for (const SettingRule &rule : kSettingRules) {
        table.push_back({{"keyword", rule.keyword},
                         {"label", rule.panelLabel},
                         {"unit", rule.unit},
                         {"control", inputName(rule.input)},
                         {"min", bound(rule.panelMin)},
                         {"max", bound(rule.panelMax)},
                         {"step", rule.panelStep},
                         {"default", rule.newInstanceValue}});
    }
    table.push_back({{"keyword", kReferenceKeyword}, {"label", kReferenceLabel}, {"unit", ""}, {"control", "item"}});
    return table;
}

}  // namespace plof::host::studio
