#include "host/script/script_runner.h"

#include "host/base/number_text.h"
#include "host/files/written_file_check.h"
#include "host/module/dialog_answer.h"
#include "host/module/service_registry.h"
#include "host/panels/baking_panel.h"
#include "host/panels/control_value_store.h"
#include "plof/host_services.h"

#include <cstring>

namespace plof::host {

namespace {

std::string inQuotes(const std::string &text) { return "\"" + text + "\""; }

std::string trimmed(const std::string &text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string controlName(const PlofControlRecord &control) {
    return "#" + std::to_string(control.index) + " " + inQuotes(control.label) + " (" + controlKindName(control.kind) +
           ")";
}

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
    return "wrong value for " + controlName(control) + ": it takes " + expected + ", not " + inQuotes(given);
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
    if (item == 0) return "no object named " + inQuotes(values[0].text) + " in the scene for " + controlName(control);
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

// Every entry of every list box of the panel, as its callbacks give them.
std::vector<std::string> listBoxEntries(const PlofPanelRecord &panel) {
    std::vector<std::string> entries;
    for (const auto &control : panel.controls) {
        if (control->kind != ControlKind::ListBox) continue;
        const auto count = reinterpret_cast<PlofListCountFunc>(control->words[3]);
        const auto name = reinterpret_cast<PlofListNameFunc>(control->words[4]);
        const int32_t entryCount = count ? count(control->listData) : 0;
        entries.push_back("#" + std::to_string(control->index) + " " + std::to_string(entryCount));
        for (int32_t i = 0; name && i < entryCount; ++i) {
            const char *entry = name(control->listData, i);
            entries.push_back(entry ? entry : "");
        }
    }
    return entries;
}

}  // namespace

ScriptRunner::ScriptRunner(PanelScript script) : script_(std::move(script)) {}

void ScriptRunner::setSnapshotWriter(SnapshotWriter writer) { snapshot_ = std::move(writer); }

void ScriptRunner::fail(int line, std::string message) {
    if (!error_) error_ = ScriptError{script_.fileName, line, std::move(message)};
}

int32_t ScriptRunner::runPanel(PlofPanelRecord &panel) {
    // Called from inside the module: nothing may be thrown back through it.
    try {
        return actOnPanel(panel);
    } catch (...) {
        failWithoutThrowing("the host ran out of memory while acting on a panel");
        return 0;
    }
}

void ScriptRunner::failWithoutThrowing(const char *message) noexcept {
    try {
        fail(0, message);
    } catch (...) {
        // Nothing more can be said; every panel is cancelled all the same.
    }
    aborted_ = true;
}

int32_t ScriptRunner::actOnPanel(PlofPanelRecord &panel) {
    // Kept right even when acting on the panel throws.
    struct Depth {
        int &depth;
        explicit Depth(int &d) : depth(++d) {}
        ~Depth() { --depth; }
    } depth(depth_);
    int32_t result = 0;
    bool closed = false;
    while (!closed && !stopped() && cursor_ < script_.actions.size()) {
        const ScriptAction &action = script_.actions[cursor_++];
        // A dialog answer that no message followed is named by no later one.
        takeLastDialogAnswer();
        switch (action.verb) {
            case ScriptVerb::Confirm:
                noteAskedBake(panel);
                result = 1;
                closed = true;
                break;
            case ScriptVerb::Cancel: closed = true; break;
            case ScriptVerb::Snapshot: takeSnapshot(panel, action.line); break;
            case ScriptVerb::Choose:
                fail(action.line,
                     "\"choose\" answers a file dialog, but no dialog is open here; put it "
                     "on the line right after the action that opens the dialog");
                break;
            default: perform(panel, action); break;
        }
    }
    if (depth_ == 1 && !closed && !stopped() && cursor_ > 0) endedWithPanelOpen_ = true;
    // The outermost panel is pictured as it stands when it closes.
    if (depth_ == 1 && snapshot_ && !snapshotTaken_ && !stopped()) takeSnapshot(panel, 0);
    return stopped() ? 0 : result;
}

void ScriptRunner::noteAskedBake(const PlofPanelRecord &panel) {
    WrittenFileCheck *check = writtenFileCheck();
    if (!check) return;
    if (const auto bake = baking_panel::askedBake(panel)) check->expectScene(bake->scene, bake->frames, bake->step);
}

void ScriptRunner::takeSnapshot(const PlofPanelRecord &panel, int line) {
    if (!snapshot_) {
        fail(line, "\"snapshot\" needs a picture file: give --snapshot FILE.png");
        return;
    }
    std::string problem;
    if (!snapshot_(panel, problem)) {
        fail(line, problem);
        return;
    }
    snapshotTaken_ = true;
}

PlofControlRecord *ScriptRunner::findControl(PlofPanelRecord &panel, const ScriptAction &action) {
    const ControlAddress &address = action.control;
    const std::string where = " in panel " + inQuotes(panel.title);
    if (address.index > 0) {
        if (static_cast<std::size_t>(address.index) > panel.controls.size()) {
            fail(action.line, "no control #" + std::to_string(address.index) + where + " (it has " +
                                  std::to_string(panel.controls.size()) + " controls)");
            return nullptr;
        }
        return panel.controls[static_cast<std::size_t>(address.index) - 1].get();
    }
    std::vector<PlofControlRecord *> matches;
    for (auto &control : panel.controls) {
        if (control->label == address.label) matches.push_back(control.get());
    }
    if (matches.empty()) {
        for (auto &control : panel.controls) {
            if (trimmed(control->label) == trimmed(address.label)) matches.push_back(control.get());
        }
    }
    if (matches.size() == 1) return matches[0];
    if (matches.empty()) {
        std::string known;
        for (auto &control : panel.controls) {
            if (!control->label.empty()) known += (known.empty() ? "" : ", ") + inQuotes(control->label);
        }
        fail(action.line, "unknown control " + inQuotes(address.label) + where + "; its labels are " + known +
                              " (empty labels: address by #N)");
        return nullptr;
    }
    std::string numbers;
    for (PlofControlRecord *control : matches) {
        numbers += (numbers.empty() ? "#" : ", #") + std::to_string(control->index);
    }
    fail(action.line,
         "label " + inQuotes(address.label) + " names controls " + numbers + where + "; address one by its number");
    return nullptr;
}

void ScriptRunner::perform(PlofPanelRecord &panel, const ScriptAction &action) {
    PlofControlRecord *control = findControl(panel, action);
    if (!control) return;
    switch (action.verb) {
        case ScriptVerb::Set:
            setValue(*control, action);
            if (error_) return;
            if (control->event) control->event(control, control->userData);
            break;
        case ScriptVerb::Expect: checkValue(*control, action); return;
        case ScriptVerb::Press: {
            if (control->kind != ControlKind::Button) {
                fail(action.line, "cannot press " + controlName(*control) + ": only buttons are pressed");
                return;
            }
            const std::vector<std::string> listsBefore = listBoxEntries(panel);
            const int answeredBefore = filesAnswered_;
            if (control->event) control->event(control, control->userData);
            // A file chosen on a panel with a list box that stays as it was was not added to it.
            if (!listsBefore.empty() && filesAnswered_ > answeredBefore) {
                ++filesForLists_;
                if (listBoxEntries(panel) == listsBefore) ++filesNotListed_;
            }
            break;
        }
        case ScriptVerb::Drag:
            if (control->kind != ControlKind::DragButton) {
                fail(action.line, "cannot drag " + controlName(*control) + ": only drag buttons are dragged");
                return;
            }
            // The host reports each step of a drag as the vector (0, d, 0).
            for (int32_t d : action.drags) {
                if (error_) return;
                control->integers = {0, d, 0};
                if (control->event) control->event(control, control->userData);
                drawPanel(panel);
            }
            return;
        default: return;
    }
    if (!error_) drawPanel(panel);
}

void ScriptRunner::setValue(PlofControlRecord &control, const ScriptAction &action) {
    const std::string problem = storeScriptValue(control, action.values);
    if (!problem.empty()) fail(action.line, problem);
}

// The expected value is read as `set` reads it, into a copy of the control,
// and compared with what the control holds (for buttons: the text the module
// gave them).
void ScriptRunner::checkValue(const PlofControlRecord &control, const ScriptAction &action) {
    if (control.kind == ControlKind::DragButton || control.kind == ControlKind::ListBox) {
        fail(action.line, controlName(control) + " holds no value that a script can expect");
        return;
    }
    PlofControlRecord expected = control;
    if (control.kind == ControlKind::Button) {
        if (action.values.size() != 1) {
            fail(action.line, controlName(control) + " holds a text: expect one text in double quotes");
            return;
        }
        expected.text = action.values[0].text;
    } else {
        setValue(expected, action);
        if (error_) return;
    }
    std::string held;
    bool equal = false;
    switch (control.kind) {
        case ControlKind::Button:
        case ControlKind::File:
            equal = expected.text == control.text;
            held = inQuotes(control.text);
            break;
        case ControlKind::Float:
            equal = expected.number == control.number;
            held = shortestText(control.number);
            break;
        case ControlKind::FloatVector:
            equal = expected.numbers == control.numbers;
            held = shortestText(control.numbers[0]) + "," + shortestText(control.numbers[1]) + "," +
                   shortestText(control.numbers[2]);
            break;
        default:
            equal = expected.integer == control.integer;
            held = std::to_string(control.integer);
            break;
    }
    if (!equal) fail(action.line, controlName(control) + " holds " + held + ", not the value expected here");
}

int32_t ScriptRunner::answerFileDialog(const char *title, char *result, int32_t size) {
    try {
        return answer(title, result, size);
    } catch (...) {
        failWithoutThrowing("the host ran out of memory while answering a file dialog");
        return 0;
    }
}

int32_t ScriptRunner::answer(const char *title, char *result, int32_t size) {
    if (stopped()) return 0;
    if (cursor_ >= script_.actions.size()) {
        fail(0, "the script ended while the file dialog " + inQuotes(title) +
                    " was open; add a line: choose PATH (or choose cancel)");
        return 0;
    }
    const ScriptAction &action = script_.actions[cursor_];
    if (action.verb != ScriptVerb::Choose) {
        fail(action.line, "the file dialog " + inQuotes(title) + " is open here, but this line is \"" +
                              scriptVerbName(action.verb) +
                              "\"; answer the dialog first: choose PATH (or choose cancel)");
        return 0;
    }
    ++cursor_;
    if (action.cancelDialog) return 0;
    const std::string path = dialogResultPath(action.path);
    // Cut, the path would name another file.
    if (path.size() >= static_cast<std::size_t>(size)) {
        fail(action.line, "the dialog returns the full path " + inQuotes(path) + ", " + std::to_string(path.size()) +
                              " characters, but the module takes at most " + std::to_string(size - 1));
        return 0;
    }
    std::memcpy(result, path.data(), path.size() + 1);
    ++filesAnswered_;
    return 1;
}

bool ScriptRunner::finish() {
    if (aborted_ && !error_) error_ = ScriptError{script_.fileName, 0, "the host ran out of memory"};
    if (!error_ && cursor_ < script_.actions.size()) {
        const ScriptAction &action = script_.actions[cursor_];
        if (action.verb == ScriptVerb::Choose) {
            fail(action.line, "unused file dialog answer: no file dialog was open for this choose");
        } else {
            fail(action.line, std::string("\"") + scriptVerbName(action.verb) +
                                  "\" has no open panel to act on: every panel was closed before "
                                  "this line");
        }
    }
    return !error_;
}

}  // namespace plof::host
