// Panel scripts: the user actions that the stand-in host performs on its
// panels instead of waiting for a person (the format is in docs/panel-scripts.md
// and in `plof-host panel --help`).
//
// Parsing checks what a line says on its own (the action, the control
// address, the shape of the values); whether a control exists and takes such
// a value is checked by the runner when the panel is open. Every error names
// the script's file and line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plof::host {

enum class ScriptVerb { Set, Expect, Press, Drag, Choose, Snapshot, Confirm, Cancel };

const char *scriptVerbName(ScriptVerb verb);

// A control named by its label (quoted, matched exactly, or else uniquely
// ignoring leading and trailing spaces) or by its creation index #N.
struct ControlAddress {
    std::string label;
    int index = 0;  // > 0 when addressed by #N
    std::string describe() const;
};

struct ScriptWord {
    std::string text;
    bool quoted = false;
};

struct ScriptAction {
    int line = 0;
    ScriptVerb verb = ScriptVerb::Cancel;
    ControlAddress control;          // set, expect, press, drag
    std::vector<ScriptWord> values;  // set, expect: the words after the control
    std::vector<int32_t> drags;      // drag: the d of every step
    std::string path;                // choose: the answer
    bool cancelDialog = false;       // choose cancel
};

struct PanelScript {
    std::string fileName;  // as the user named it, for messages
    std::vector<ScriptAction> actions;
};

struct ScriptError {
    std::string fileName;
    int line = 0;  // 0 when the error belongs to no line (the file itself, the end)
    std::string message;
    // "FILE:LINE: MESSAGE" (or "FILE: MESSAGE").
    std::string text() const;
};

// Parses `text`; false with `error` filled at the first bad line.
bool parsePanelScript(std::string_view text, const std::string &fileName, PanelScript &script, ScriptError &error);

// Reads and parses the file at `path`.
bool readPanelScript(const std::string &path, PanelScript &script, ScriptError &error);

}  // namespace plof::host
