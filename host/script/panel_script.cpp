#include "host/script/panel_script.h"

#include "host/base/number_text.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace plof::host {

namespace {

// Splits one line into words: runs of non-blanks, or "quoted text" with \" and
// \\ as the only escapes. An unquoted # that does not start a control index
// (#3) begins a comment.
bool splitWords(std::string_view line, std::vector<ScriptWord> &words, std::string &problem) {
    std::size_t at = 0;
    while (at < line.size()) {
        const char c = line[at];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++at;
            continue;
        }
        if (c == '#' && !(at + 1 < line.size() && line[at + 1] >= '0' && line[at + 1] <= '9')) break;
        ScriptWord word;
        if (c == '"') {
            word.quoted = true;
            ++at;
            bool closed = false;
            while (at < line.size()) {
                char q = line[at++];
                if (q == '"') {
                    closed = true;
                    break;
                }
                if (q == '\\' && at < line.size() && (line[at] == '"' || line[at] == '\\')) q = line[at++];
                word.text.push_back(q);
            }
            if (!closed) {
                problem = "a quoted text is not closed; end it with \"";
                return false;
            }
        } else {
            while (at < line.size() && line[at] != ' ' && line[at] != '\t' && line[at] != '\r') {
                word.text.push_back(line[at++]);
            }
        }
        words.push_back(std::move(word));
    }
    return true;
}

bool parseAddress(const ScriptWord &word, ControlAddress &address, std::string &problem) {
    if (word.quoted) {
        address.label = word.text;
        return true;
    }
    const auto index = word.text.size() > 1 && word.text[0] == '#' ? parseInteger(std::string_view(word.text).substr(1))
                                                                   : std::nullopt;
    if (index && *index > 0) {
        address.index = *index;
        return true;
    }
    problem = "\"" + word.text +
              "\" is not a control: write its label in double quotes "
              "(\"Gravity\") or its creation number (#3)";
    return false;
}

// What follows the verb, per verb. `words[0]` is the verb; each reader fills
// `action` or says in `problem` what is wrong and what to write instead.
using WordsReader = bool (*)(const std::vector<ScriptWord> &words, ScriptAction &action, std::string &problem);

// set and expect, press and drag name a control first.
bool readControl(const std::vector<ScriptWord> &words, ScriptAction &action, std::string &problem) {
    if (words.size() < 2) {
        problem = "\"" + words[0].text + "\" needs a control (its label in double quotes, or #N)";
        return false;
    }
    return parseAddress(words[1], action.control, problem);
}

bool readControlAndValue(const std::vector<ScriptWord> &words, ScriptAction &action, std::string &problem) {
    if (!readControl(words, action, problem)) return false;
    if (words.size() < 3) {
        problem = "\"" + words[0].text + "\" needs a value after the control";
        return false;
    }
    action.values.assign(words.begin() + 2, words.end());
    return true;
}

bool readPress(const std::vector<ScriptWord> &words, ScriptAction &action, std::string &problem) {
    if (!readControl(words, action, problem)) return false;
    if (words.size() > 2) {
        problem = "\"press\" takes only the control; remove \"" + words[2].text + "\"";
        return false;
    }
    return true;
}

bool readDrag(const std::vector<ScriptWord> &words, ScriptAction &action, std::string &problem) {
    if (!readControl(words, action, problem)) return false;
    if (words.size() < 3) {
        problem = "\"drag\" needs one or more whole numbers d after the control";
        return false;
    }
    for (std::size_t i = 2; i < words.size(); ++i) {
        const auto d = words[i].quoted ? std::nullopt : parseInteger(words[i].text);
        if (!d) {
            problem = "drag step \"" + words[i].text + "\" is not a whole number";
            return false;
        }
        action.drags.push_back(*d);
    }
    return true;
}

bool readChoose(const std::vector<ScriptWord> &words, ScriptAction &action, std::string &problem) {
    if (words.size() != 2) {
        problem =
            "\"choose\" needs exactly one answer: a path (in double quotes when it has "
            "spaces) or cancel";
        return false;
    }
    action.cancelDialog = !words[1].quoted && words[1].text == "cancel";
    action.path = words[1].text;
    return true;
}

bool readNothingMore(const std::vector<ScriptWord> &words, ScriptAction &, std::string &problem) {
    if (words.size() > 1) {
        problem = "\"" + words[0].text + "\" takes nothing after it; remove \"" + words[1].text + "\"";
        return false;
    }
    return true;
}

struct VerbEntry {
    ScriptVerb verb;
    const char *name;
    WordsReader read;
};

// The one list of the script's verbs: parsing, names in messages and the
// list of actions in the unknown-action error all come from here.
constexpr VerbEntry kVerbs[] = {
    {ScriptVerb::Set, "set", &readControlAndValue},     {ScriptVerb::Expect, "expect", &readControlAndValue},
    {ScriptVerb::Press, "press", &readPress},           {ScriptVerb::Drag, "drag", &readDrag},
    {ScriptVerb::Choose, "choose", &readChoose},        {ScriptVerb::Snapshot, "snapshot", &readNothingMore},
    {ScriptVerb::Confirm, "confirm", &readNothingMore}, {ScriptVerb::Cancel, "cancel", &readNothingMore},
};

std::string verbList() {
    std::string list;
    for (const VerbEntry &entry : kVerbs) list += (list.empty() ? "" : ", ") + std::string(entry.name);
    return list;
}

bool parseAction(const std::vector<ScriptWord> &words, ScriptAction &action, std::string &problem) {
    for (const VerbEntry &entry : kVerbs) {
        if (!words[0].quoted && words[0].text == entry.name) {
            action.verb = entry.verb;
            return entry.read(words, action, problem);
        }
    }
    problem = "unknown action \"" + words[0].text + "\"; the actions are " + verbList();
    return false;
}

}  // namespace

const char *scriptVerbName(ScriptVerb verb) {
    for (const VerbEntry &entry : kVerbs) {
        if (entry.verb == verb) return entry.name;
    }
    return "?";
}

std::string ControlAddress::describe() const { return index > 0 ? "#" + std::to_string(index) : "\"" + label + "\""; }

std::string ScriptError::text() const {
    if (line > 0) return fileName + ":" + std::to_string(line) + ": " + message;
    return fileName + ": " + message;
}

bool parsePanelScript(std::string_view text, const std::string &fileName, PanelScript &script, ScriptError &error) {
    script.fileName = fileName;
    script.actions.clear();
    int lineNumber = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        ++lineNumber;
        start = end + 1;
        std::vector<ScriptWord> words;
        std::string problem;
        if (!splitWords(line, words, problem)) {
            error = {fileName, lineNumber, problem};
            return false;
        }
        if (words.empty()) continue;
        ScriptAction action;
        action.line = lineNumber;
        if (!parseAction(words, action, problem)) {
            error = {fileName, lineNumber, problem};
            return false;
        }
        script.actions.push_back(std::move(action));
    }
    return true;
}

bool readPanelScript(const std::string &path, PanelScript &script, ScriptError &error) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        error = {path, 0, "a directory, not a panel script; give the script's file"};
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = {path, 0, "cannot open the panel script; check the path"};
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return parsePanelScript(text.str(), path, script, error);
}

}  // namespace plof::host
