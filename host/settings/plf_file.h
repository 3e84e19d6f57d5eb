// Settings files (.plf) as the stand-in host hands them to an effect
// instance: the same lines as the effect's block in a scene, one per text
// line, read exactly as the host reads that block.
#pragma once

#include <string>
#include <vector>

#include "host/settings/settings_reading.h"

namespace plof::host {

struct SettingsLines {
    std::vector<std::string> lines;
    // "PATH:LINE: ..." for each line the effect will ignore or read otherwise
    // than it looks (settings_warnings.h).
    std::vector<std::string> warnings;
};

// The lines the effect saves for `settings`, as its options panel's "S"
// writes them into a .plf file and a scene holds them: PLOF_START, a line per
// setting with six decimals ("Gravity 9.800000"), REFERENCE and the avoid
// object's name ("none" for none), PLOF_END.
std::vector<std::string> settingsFileLines(const EffectSettings &settings);

// Reads the settings file at `path` (LF or CR LF line ends). Throws
// InputError naming the file, and the line where there is one, when it is
// missing, holds binary data or does not begin with a PLOF_START line.
SettingsLines readSettingsFile(const std::string &path);

}  // namespace plof::host
