#include "host/script/script_values.h"

#include <array>

#include "host/base/number_text.h"
#include "host/base/quoted_text.h"
#include "host/module/service_registry.h"
#include "host/panels/control_value_store.h"
#include "plof/host_services.h"

namespace plof::host {

namespace {

// The object items of the scene, through "LW Item Info" as the list control's
// global function gives it.
PlofItemId findObjectByName(const PlofControlRecord &control, const std::string &name) {
    auto global = reinterpret_cast<PlofGlobalFunc>(control.words[0]);
    if (!global) global = globalServiceFunction();
    auto *items = static_cast<PlofItemInfo *>(global(PLOF_SERVICE_ITEM_INFO, 0));
    if (!items || !items->first || !items->next || !items->name) return 0;
    for (PlofItemId item = items->first(PLOF_ITEM_OBJECT, 0); item != 0; item = items->next(item)) {
        const char *itemName = items->name(item);
        if (itemName && name == itemName) return item;
    }
    return 0;
}

// Storing a script's value in a control, one function per control kind.
// Each returns what is wrong with the value ("" when it was stored).
using ValueWords = std::vector<ScriptWord>;

std::string wrongValue(const PlofControlRecord &control, const ValueWords &values, const std::string &expected) {
    std::string given;
    for (const ScriptWord &word : values) given += (given.empty() ? "" : " ") + word.text;
    return "wrong value for " + controlName(control) + ": it takes " + expected + ", not " + quotedText(given);
}

std::string storeWholeNumber(PlofControlRecord &control, const ValueWords &values) {
    const auto integer = values.size() == 1 ? parseInteger(values[0].text) : std::nullopt;
    if (!integer) return wrongValue(control, values, "a whole number");
    storeInteger(control, *integer);
    return "";
}

std::string storeSliderPosition(PlofControlRecord &control, const ValueWords &values) {
    const auto integer = values.size() == 1 ? parseInteger(values[0].text) : std::nullopt;
    if (!integer) return wrongValue(control, values, "a whole number");
    // A person cannot move a slider past its ends; the module can set any value.
    const intptr_t low = control.words[1];
    const intptr_t high = control.words[2];
    if (*integer < low || *integer > high) {
        return "slider " + controlName(control) + " goes from " + std::to_string(low) + " to " + std::to_string(high) +
               "; " + std::to_string(*integer) + " is outside it";
    }
    storeInteger(control, *integer);
    return "";
}

std::string storeOnOff(PlofControlRecord &control, const ValueWords &values) {
    const std::string word = values.size() == 1 ? values[0].text : "";
    if (word == "on" || word == "true" || word == "1") {
        storeInteger(control, 1);
    } else if (word == "off" || word == "false" || word == "0") {
        storeInteger(control, 0);
    } else {
        return wrongValue(control, values, "on or off");
    }
    return "";
}

std::string storeFloat(PlofControlRecord &control, const ValueWords &values) {
    const auto number = values.size() == 1 ? parseNumber(values[0].text) : std::nullopt;
    if (!number) return wrongValue(control, values, "a number");
    storeNumber(control, *number);
    return "";
}

std::string storeObjectItem(PlofControlRecord &control, const ValueWords &values) {
    if (values.size() != 1) return wrongValue(control, values, "an object name in double quotes, or none");
    if (!values[0].quoted && values[0].text == "none") {
        storeInteger(control, 0);
        return "";
    }
    const PlofItemId item = findObjectByName(control, values[0].text);
    if (item == 0) return "no object named " + quotedText(values[0].text) + " in the scene for " + controlName(control);
    storeInteger(control, static_cast<intptr_t>(item));
    return "";
}

std::string storePath(PlofControlRecord &control, const ValueWords &values) {
    if (values.size() != 1) return wrongValue(control, values, "one path (in double quotes when it has spaces)");
    control.text = values[0].text;
    return "";
}

// Three numbers, as "1,2,3", "1 2 3" or any mix of commas and words.
std::string storeVector(PlofControlRecord &control, const ValueWords &values) {
    std::vector<std::string> parts;
    for (const ScriptWord &word : values) {
        std::size_t start = 0;
        while (start <= word.text.size()) {
            std::size_t comma = word.text.find(',', start);
            if (comma == std::string::npos) comma = word.text.size();
            if (comma > start) parts.push_back(word.text.substr(start, comma - start));
            start = comma + 1;
        }
    }
    std::array<double, 3> numbers{};
    if (parts.size() != 3) return wrongValue(control, values, "three numbers (1,2,3 or 1 2 3)");
    for (std::size_t i = 0; i < 3; ++i) {
        const auto number = parseNumber(parts[i]);
        if (!number) return wrongValue(control, values, "three numbers (1,2,3 or 1 2 3)");
        numbers[i] = *number;
    }
    control.numbers = numbers;
    return "";
}

}  // namespace

std::string storeScriptValue(PlofControlRecord &control, const ValueWords &values) {
    switch (control.kind) {
        case ControlKind::Number: return storeWholeNumber(control, values);
        case ControlKind::Slider: return storeSliderPosition(control, values);
        case ControlKind::Bool: return storeOnOff(control, values);
        case ControlKind::Float: return storeFloat(control, values);
        case ControlKind::ItemList: return storeObjectItem(control, values);
        case ControlKind::File: return storePath(control, values);
        case ControlKind::FloatVector: return storeVector(control, values);
        case ControlKind::Button: return controlName(control) + " is a button: use press";
        case ControlKind::DragButton: return controlName(control) + " is a drag button: use drag";
        case ControlKind::ListBox:
            return controlName(control) + " is a list box and is not set by hand; add files with its button";
    }
    return "";
}

std::string controlName(const PlofControlRecord &control) {
    return "#" + std::to_string(control.index) + " " + quotedText(control.label) + " (" +
           controlKindName(control.kind) + ")";
}

}  // namespace plof::host
