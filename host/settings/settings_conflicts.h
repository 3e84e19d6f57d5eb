// Settings that contradict each other, whatever their lines: AgeMin above
// AgeMax (every particle then lives exactly AgeMin frames) and V0Min above
// V0Max (speeds then run from V0Min upward, past both). Each is told once,
// about the setting a person most likely meant to move: the warnings of a
// settings file name its line, the studio shows it beside that field.
#pragma once

#include <string>
#include <vector>

#include "host/settings/settings_reading.h"

namespace plof::host {

struct SettingConflict {
    Setting setting;       // the setting the message is about (AgeMin, V0Min)
    Setting otherSetting;  // the one it contradicts (AgeMax, V0Max)
    std::string message;   // "AgeMin 12 is above AgeMax 10: ...; make AgeMin at most AgeMax"
};

std::vector<SettingConflict> settingConflicts(const EffectSettings &settings);

}  // namespace plof::host
