#include "host/settings/settings_warnings.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "host/base/nearest_word.h"
#include "host/base/number_text.h"
#include "host/base/quoted_text.h"
#include "host/base/text_words.h"
#include "host/settings/settings_conflicts.h"

namespace plof::host {

namespace {

using Role = SettingsLine::Role;

// The most bytes of a keyword or value a warning quotes: enough to recognise
// it, short enough to keep the warning on one line.
constexpr std::size_t kShownBytes = 40;

std::string number(double value) { return shortestText(value); }

class Messages {
public:
    explicit Messages(const std::string &fileName) : fileName_(fileName) {}
    void add(std::size_t line, const std::string &text) {
        messages_.push_back(fileName_ + ":" + std::to_string(line) + ": " + text);
    }
    // About the file as a whole, for a note that holds for every line alike.
    void addForFile(const std::string &text) { messages_.push_back(fileName_ + ": " + text); }
    std::vector<std::string> take() { return std::move(messages_); }

private:
    const std::string &fileName_;
    std::vector<std::string> messages_;
};

void keywordWarnings(const SettingsLine &line, Messages &out) {
    const std::string keyword(withoutLineEnd(line.keyword));
    if (line.role == Role::Skipped) {
        if (keyword.empty()) return;  // an empty line in a .plf file
        if (!line.value && nearestKeyword(keyword) == keyword) {
            out.add(line.lineNumber, quotedText(keyword, kShownBytes) +
                                         " has no value after it, so the effect skips the line; write \"" + keyword +
                                         " VALUE\"");
            return;
        }
        const std::string near = nearestKeyword(keyword);
        out.add(line.lineNumber, quotedText(keyword, kShownBytes) + " is no setting, so the effect skips this line; " +
                                     (near.empty() ? std::string("check the keyword (they are case-sensitive)")
                                                   : "did you mean \"" + near + "\"?"));
        return;
    }
    const std::string full = line.role == Role::Value       ? ruleOf(*line.setting).keyword
                             : line.role == Role::Reference ? std::string(kReferenceKeyword)
                             : line.role == Role::End       ? std::string("PLOF_END")
                                                            : std::string("PLOF_START");
    if (keyword != full && line.role != Role::End) {
        out.add(line.lineNumber, quotedText(keyword, kShownBytes) + " is read as " + full +
                                     " (the first keyword that begins with it); write " + full + " in full");
    } else if (keyword != full && !keyword.empty()) {
        out.add(line.lineNumber, quotedText(keyword, kShownBytes) +
                                     " ends the settings as PLOF_END does; the lines after it are "
                                     "not read");
    }
}

// What is wrong with the value of a setting line, if anything.
void valueWarnings(const SettingsLine &line, const EffectSettings &settings, Messages &out) {
    const SettingRule &rule = ruleOf(*line.setting);
    const std::string name = rule.keyword;
    if (!line.value) {
        out.add(line.lineNumber, name + " has no value after it, so the effect leaves it at " +
                                     number(settings.number(*line.setting)) + "; write \"" + name + " VALUE\"");
        return;
    }
    std::size_t length = 0;
    const double read = readDecimalPrefix(" " + line.valueText, length);
    const std::string written(withoutLineEnd(line.valueText));
    const std::size_t first = written.find_first_not_of(" \t");
    const std::string shown = first == std::string::npos ? "" : written.substr(first);
    if (length == 0) {
        out.add(line.lineNumber, quotedText(shown, kShownBytes) + " is not a number: the effect reads " + name +
                                     " as 0; write a number, e.g. \"" + name + " " + number(rule.newInstanceValue) +
                                     "\"");
        return;
    }
    const std::string rest = written.substr(length - 1);
    const auto trailing = rest.find_first_not_of(" \t\r\n");
    if (trailing != std::string::npos && rest[trailing] == ',') {
        out.add(line.lineNumber, quotedText(shown, kShownBytes) + " is read as " + number(read) +
                                     ": the effect stops at the comma; write decimals with a point");
    } else if (trailing != std::string::npos) {
        out.add(line.lineNumber, "the effect reads " + name + " as " + number(read) + " and ignores " +
                                     quotedText(rest.substr(trailing), kShownBytes) + " after it; remove that text");
    }
    if (rule.kind == SettingKind::Decimal && !std::isfinite(read)) {
        out.add(line.lineNumber, name + " is " + number(read) +
                                     ": the effect computes with it as it is and places particles at "
                                     "infinite or undefined coordinates; write a finite number");
        return;
    }
    const double stored = settings.number(*line.setting);
    if (rule.kind != SettingKind::Decimal && !(stored == read)) {
        out.add(line.lineNumber,
                name + " takes whole numbers" +
                    (rule.kind == SettingKind::Byte ? std::string(" (it keeps the low 8 bits)") : std::string()) +
                    ": the effect reads " + number(read) + " as " + number(stored) + "; write " + number(stored));
    }
    if (*line.setting == Setting::OrgEmit && (stored < rule.panelMin || stored > rule.panelMax)) {
        out.addForFile("OrgEmit " + number(stored) +
                       ": particles start from each point's own place and launch "
                       "into the spread band (docs/settings.md)");
    } else if (stored < rule.panelMin || stored > rule.panelMax) {
        const std::string what = *line.setting == Setting::ReCycle
                                     ? "the effect recycles only with 1, so this means off"
                                     : "the effect uses it as written";
        out.add(line.lineNumber, name + " " + number(stored) + " is outside what the options panel offers (" +
                                     rule.panelControl + "): " + what + "; write a value the panel offers");
    }
}

// The line that set `setting` last, if any.
const SettingsLine *lastSetting(const SettingsReading &reading, Setting setting) {
    const SettingsLine *found = nullptr;
    for (const SettingsLine &line : reading.lines) {
        if (line.role == Role::Value && line.setting == setting && line.value) found = &line;
    }
    return found;
}

void blockWarnings(const SettingsReading &reading, Messages &out) {
    // Told at the line that set the setting the message is about, else its other one's.
    for (const SettingConflict &conflict : settingConflicts(reading.settings)) {
        const SettingsLine *line = lastSetting(reading, conflict.setting);
        if (!line) line = lastSetting(reading, conflict.otherSetting);
        out.add(line ? line->lineNumber : reading.lines.front().lineNumber, conflict.message);
    }
    const SettingsLine &last = reading.lines.back();
    if (!reading.endLine) {
        if (last.role == Role::End && reading.unreadLines == 0 && reading.unreadEndLine) return;
        if (last.role == Role::End) {
            out.add(last.lineNumber,
                    std::string(last.text.empty() ? "an empty line" : "a line beginning with a space") +
                        " ends the settings here, before any PLOF_END; " +
                        (reading.unreadLines > 0
                             ? std::to_string(reading.unreadLines) + " line(s) after it are not read; remove this line"
                             : std::string("end them with a PLOF_END line")));
            return;
        }
        out.add(last.lineNumber, "no PLOF_END line; the settings end with the file (here); add a PLOF_END line");
        return;
    }
    if (reading.unreadLines > 0) {
        out.add(reading.firstUnreadLine, std::to_string(reading.unreadLines) + " line(s) after PLOF_END (line " +
                                             std::to_string(last.lineNumber) +
                                             ") are not read; move settings above PLOF_END");
    }
}

}  // namespace

std::string nearestKeyword(const std::string &keyword) {
    std::vector<std::string> vocabulary;
    for (const SettingRule &rule : kSettingRules) vocabulary.emplace_back(rule.keyword);
    vocabulary.insert(vocabulary.end(), {std::string(kReferenceKeyword), "PLOF_START", "PLOF_END"});
    if (std::string near = nearestWord(keyword, vocabulary); !near.empty()) return near;
    // A panel label written as a keyword: its words run together, or its first word.
    std::vector<std::string> labels;
    std::vector<const char *> keywords;
    for (const SettingRule &rule : kSettingRules) {
        const std::string label = rule.panelLabel;
        std::string joined;
        for (char c : label) {
            if (c != ' ') joined += c;
        }
        for (const std::string &form : {joined, label.substr(0, label.find(' '))}) {
            if (form.size() < 5) continue;  // "Max", "Age": no single setting's
            labels.push_back(form);
            keywords.push_back(rule.keyword);
        }
    }
    const std::string label = nearestWord(keyword, labels);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (labels[i] == label && !label.empty()) return keywords[i];
    }
    return "";
}

std::vector<std::string> settingsWarnings(const SettingsReading &reading, const std::string &fileName) {
    Messages out(fileName);
    if (reading.lines.empty()) return out.take();
    if (!reading.started) {
        out.add(reading.lines.front().lineNumber,
                "the effect's lines do not begin with PLOF_START: it reads none "
                "of them and keeps a new instance's settings; begin with "
                "PLOF_START");
        return out.take();
    }
    for (const SettingsLine &line : reading.lines) {
        if (line.cut && line.role != Role::Name) {
            out.add(line.lineNumber, "longer than the effect's line buffer: it reads only the first " +
                                         std::to_string(kSettingsLineLength) + " characters; shorten the line");
        }
        if (line.role == Role::Name) {
            if (line.cut) {
                out.add(line.lineNumber, "the avoid object's name is longer than the " +
                                             std::to_string(kAvoidNameLength) +
                                             " characters the effect keeps: it looks for an object named " +
                                             quotedText(line.keyword, kShownBytes) + "; use a shorter name");
            }
            continue;
        }
        keywordWarnings(line, out);
        if (line.role == Role::Value) valueWarnings(line, reading.settings, out);
    }
    blockWarnings(reading, out);
    return out.take();
}

}  // namespace plof::host
