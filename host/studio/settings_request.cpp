#include "host/studio/settings_request.h"

#include <cmath>

#include "host/base/code_page_text.h"
#include "host/base/number_text.h"
#include "host/studio/settings_vocabulary.h"

namespace plof::host::studio {

namespace {

// "0 to 180 degrees"
std::string rangeText(const PageSetting &page) {
    return shortestText(page.min) + " to " + shortestText(page.max) + (*page.unit ? " " + std::string(page.unit) : "");
}

std::string choicesText() {
    std::string text;
    for (std::size_t i = 0; i < kEmissionChoices.size(); ++i) {
        text += (i == 0                             ? ""
                 : i + 1 == kEmissionChoices.size() ? " or "
                                                    : ", ") +
                std::to_string(kEmissionChoices[i].value) + " (" + kEmissionChoices[i].label + ")";
    }
    return text;
}

// "" when the page offers `value` for the setting; else what it takes.
std::string valueProblem(const SettingRule &rule, const PageSetting &page, double value) {
    const std::string label = page.label;
    if (!std::isfinite(value) || std::fabs(value) > kLargestSetting) {
        return label + " takes a number of at most " + shortestText(kLargestSetting) + " in size";
    }
    const bool whole = page.control != PageControl::Float && page.control != PageControl::Slider;
    if (page.control == PageControl::Choice && (value != std::floor(value) || value < page.min || value > page.max)) {
        return label + " takes " + choicesText();
    }
    if (page.control == PageControl::Check && value != 0.0 && value != 1.0) return label + " takes 1 (on) or 0 (off)";
    if (value < page.min || value > page.max) return label + " takes " + rangeText(page);
    if ((whole || rule.kind != SettingKind::Decimal) && value != std::floor(value)) {
        return label + " takes a whole number" + (*page.unit ? " of " + std::string(page.unit) : "");
    }
    if (page.step > 0.0) {
        // A slider's positions: whole steps (20 per unit for Registance).
        const double perUnit = std::round(1.0 / page.step);
        if (std::round(value * perUnit) / perUnit != value) {
            return label + " takes steps of " + shortestText(page.step) + " from " + rangeText(page);
        }
    }
    if (parseNumber(fixedText(value)) != value) return label + " takes at most six decimals (what a .plf file keeps)";
    return "";
}

// The number a request gives: a JSON number, or the text a person typed.
bool requestedNumber(const nlohmann::json &given, const PageSetting &page, double &value, std::string &problem) {
    const std::string label = page.label;
    if (given.is_number()) {
        value = given.get<double>();
        return true;
    }
    if (!given.is_string()) {
        problem = label + " takes a number";
        return false;
    }
    const std::string text = given.get<std::string>();
    if (const auto number = parseNumber(text)) {
        value = *number;
        return true;
    }
    std::string pointed = text;
    for (char &c : pointed) c = c == ',' ? '.' : c;
    problem = pointed != text && parseNumber(pointed)
                  ? label + ": " + text + ": use " + pointed + " (a decimal point, not a comma)"
                  : label + ": \"" + text + "\" is not a number";
    return false;
}

bool applyReference(const nlohmann::json &value, const std::vector<std::string> &itemNames, std::string &name,
                    std::string &problem) {
    const std::string label(kAvoidLabel);
    if (!value.is_string()) {
        problem = label + " takes the name of an item of the scene, or \"" + std::string(kNoAvoidObject) + "\"";
        return false;
    }
    // The page names items in UTF-8; the effect keeps the host's name.
    const std::string wanted = value.get<std::string>();
    if (wanted.empty() || wanted == kNoAvoidObject) {
        name.clear();
        return true;
    }
    for (const std::string &item : itemNames) {
        if (utf8FromCodePage(item) == wanted) {
            name = item;
            return true;
        }
    }
    problem = label + ": the scene has no item named \"" + wanted + "\"";
    return false;
}

}  // namespace

bool applySettingsRequest(const nlohmann::json &request, const std::vector<std::string> &itemNames,
                          EffectSettings &settings, SettingsRefusal &refusal) {
    if (!request.is_object()) {
        refusal = {"", "the body must be a JSON object {keyword: value, ...}"};
        return false;
    }
    EffectSettings changed = settings;
    for (const auto &[keyword, given] : request.items()) {
        refusal.field = keyword;
        if (keyword == kReferenceKeyword) {
            // The avoid object held is taken back as it is, "none" included.
            if (given.is_string() && given.get<std::string>() == utf8FromCodePage(settings.avoidObject)) continue;
            if (!applyReference(given, itemNames, changed.avoidObject, refusal.message)) return false;
            continue;
        }
        std::size_t index = 0;
        while (index < kSettingCount && keyword != kSettingRules[index].keyword) ++index;
        if (index == kSettingCount) {
            refusal.message = "\"" + keyword + "\" is no setting";
            return false;
        }
        double value = 0.0;
        if (!requestedNumber(given, kPageSettings[index], value, refusal.message)) return false;
        if (value != settings.values[index]) {
            refusal.message = valueProblem(kSettingRules[index], kPageSettings[index], value);
            if (!refusal.message.empty()) return false;
        }
        changed.values[index] = value;
    }
    refusal = {};
    settings = changed;
    return true;
}

nlohmann::ordered_json settingsJson(const EffectSettings &settings) {
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    for (std::size_t i = 0; i < kSettingCount; ++i) json[kSettingRules[i].keyword] = settings.values[i];
    json[std::string(kReferenceKeyword)] =
        settings.avoidObject.empty() ? std::string(kNoAvoidObject) : utf8FromCodePage(settings.avoidObject);
    return json;
}

}  // namespace plof::host::studio
