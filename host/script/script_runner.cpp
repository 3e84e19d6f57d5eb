#include "host/script/script_runner.h"

#include "host/base/host_context.h"
#include "host/base/number_text.h"
#include "host/base/quoted_text.h"
#include "host/base/text_words.h"
#include "host/files/written_file_check.h"
#include "host/panels/baking_panel.h"
#include "host/script/script_values.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>

namespace plof::host {

namespace {

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
        failWithoutThrowing("acting on a panel");
        return 0;
    }
}

void ScriptRunner::failWithoutThrowing(const char *doing) noexcept {
    try {
        try {
            throw;
        } catch (const std::bad_alloc &) {
            fail(0, std::string("the host ran out of memory while ") + doing);
        } catch (const std::exception &failure) {
            fail(0, std::string("the host failed while ") + doing + ": " + failure.what());
        } catch (...) {
            fail(0, std::string("the host failed while ") + doing);
        }
    } catch (...) {
        // No room left even for the message; finish() says what it can.
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
        answeredFile_.clear();
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
    const HostContext *context = hostContext();
    WrittenFileCheck *check = context ? context->writtenFiles : nullptr;
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
    const std::string where = " in panel " + quotedText(panel.title);
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
            if (trimmedSpaces(control->label) == trimmedSpaces(address.label)) matches.push_back(control.get());
        }
    }
    if (matches.size() == 1) return matches[0];
    if (matches.empty()) {
        std::string known;
        for (auto &control : panel.controls) {
            if (!control->label.empty()) known += (known.empty() ? "" : ", ") + quotedText(control->label);
        }
        fail(action.line, "unknown control " + quotedText(address.label) + where + "; its labels are " + known +
                              " (empty labels: address by #N)");
        return nullptr;
    }
    std::string numbers;
    for (PlofControlRecord *control : matches) {
        numbers += (numbers.empty() ? "#" : ", #") + std::to_string(control->index);
    }
    fail(action.line,
         "label " + quotedText(address.label) + " names controls " + numbers + where + "; address one by its number");
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
            held = quotedText(control.text);
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

int32_t ScriptRunner::answerFileDialog(const char *title, const char *offered, char *result, int32_t size) {
    answeredFile_.clear();
    try {
        return answer(title, offered, result, size);
    } catch (...) {
        failWithoutThrowing("answering a file dialog");
        return 0;
    }
}

int32_t ScriptRunner::answer(const char *title, const char *offered, char *result, int32_t size) {
    if (stopped()) return 0;
    if (cursor_ >= script_.actions.size()) {
        fail(0, "the script ended while the file dialog " + quotedText(title) +
                    " was open; add a line: choose PATH (or choose cancel)");
        return 0;
    }
    const ScriptAction &action = script_.actions[cursor_];
    if (action.verb != ScriptVerb::Choose) {
        fail(action.line, "the file dialog " + quotedText(title) + " is open here, but this line is \"" +
                              scriptVerbName(action.verb) +
                              "\"; answer the dialog first: choose PATH (or choose cancel)");
        return 0;
    }
    ++cursor_;
    if (action.cancelDialog) return 0;
    const std::string path = dialogResultPath(action.path);
    // Cut, the path would name another file.
    if (path.size() >= static_cast<std::size_t>(size)) {
        fail(action.line, "the dialog returns the full path " + quotedText(path) + ", " + std::to_string(path.size()) +
                              " characters, but the module takes at most " + std::to_string(size - 1));
        return 0;
    }
    std::memcpy(result, path.data(), path.size() + 1);
    ++filesAnswered_;
    // Files picked for a list (a pattern such as "<*.lwo") are not the
    // subject of the module's next message: the host counts the ones the
    // list refused instead.
    if (std::string_view(offered).find('*') == std::string_view::npos) {
        try {
            answeredFile_ = path;
        } catch (const std::bad_alloc &) {
            // Only the note after the next message is lost.
        }
    }
    return 1;
}

void ScriptRunner::messageShown() noexcept {
    if (answeredFile_.empty()) return;
    std::fprintf(stderr, "plof-host: (the file dialog had returned \"%s\")\n", answeredFile_.c_str());
    answeredFile_.clear();
}

bool ScriptRunner::finish() {
    // Only a message that could not be made leaves an abort without an error.
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
