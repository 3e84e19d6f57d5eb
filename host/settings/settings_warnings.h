// Warnings about the effect's saved lines: for each line that the effect
// will ignore or read otherwise than it looks, one message
// "FILE:LINE: what the effect will do; what to change". Built on the host's
// own reading of the lines (settings_reading.h), so the warnings say exactly
// what that reading found:
//   - a keyword that is no setting (with the nearest keyword when one is
//     close), or an abbreviated one (which setting it sets);
//   - a documented value outside what the panel offers (OrgEmit 2 ... 255):
//     one short line naming the file, not the line, so that a run says it
//     once however many items read it;
//   - a value that is not a number, has a comma, has other text after it, is
//     missing, is not finite, is a fraction (or out of range) for a
//     whole-number setting, or lies outside what the options panel offers;
//   - settings that contradict each other (settings_conflicts.h);
//   - lines longer than the effect's line buffer, an avoid object's name
//     longer than it keeps;
//   - a block without PLOF_END, one that ends early, lines after its end,
//     and lines that do not open with PLOF_START.
#pragma once

#include <string>
#include <vector>

#include "host/settings/settings_reading.h"

namespace plof::host {

// `fileName` names the file the lines came from, in every message.
std::vector<std::string> settingsWarnings(const SettingsReading &reading, const std::string &fileName);

// The keyword of the vocabulary (settings, REFERENCE, PLOF_START, PLOF_END)
// nearest to `keyword` when one is close (a letter or two apart, or the same
// but for case); else the keyword of the setting whose panel label (without
// its spaces, or its first word) is close ("BirthRate" gives "Birth"); else "".
std::string nearestKeyword(const std::string &keyword);

}  // namespace plof::host
