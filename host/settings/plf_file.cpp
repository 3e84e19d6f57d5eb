#include "host/settings/plf_file.h"

#include "host/base/host_error.h"
#include "host/base/number_text.h"
#include "host/base/text_lines.h"
#include "host/files/file_bytes.h"
#include "host/settings/settings_warnings.h"

namespace plof::host {

std::vector<std::string> settingsFileLines(const EffectSettings &settings) {
    std::vector<std::string> lines{"PLOF_START"};
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        lines.push_back(std::string(kSettingRules[i].keyword) + " " + fixedText(settings.values[i]));
    }
    lines.emplace_back(kReferenceKeyword);
    lines.push_back(settings.avoidObject.empty() ? "none" : settings.avoidObject);
    lines.emplace_back("PLOF_END");
    return lines;
}

SettingsLines readSettingsFile(const std::string &path) {
    const std::string text = readFileBytes(path, "settings file");
    SettingsLines settings;
    for (std::string_view line : splitLines(text)) {
        if (line.find('\0') != std::string_view::npos) {
            throw InputError(path + ": line " + std::to_string(settings.lines.size() + 1) +
                             ": binary data; a settings file is text");
        }
        settings.lines.emplace_back(line);
    }
    // The effect silently ignores a block that does not open with PLOF_START;
    // a user who named the wrong file deserves to hear about it.
    if (settings.lines.empty() || settings.lines.front() != "PLOF_START") {
        throw InputError(path + ": line 1: a settings file begins with the line PLOF_START" +
                         (settings.lines.empty() ? std::string(" (the file is empty)")
                                                 : ", found \"" + settings.lines.front().substr(0, 60) + "\""));
    }
    settings.warnings = settingsWarnings(readSettingsLines(settings.lines, 1), path);
    return settings;
}

}  // namespace plof::host
