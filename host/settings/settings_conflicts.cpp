#include "host/settings/settings_conflicts.h"

#include "host/base/number_text.h"

namespace plof::host {

std::vector<SettingConflict> settingConflicts(const EffectSettings &s) {
    std::vector<SettingConflict> conflicts;
    const auto number = [&s](Setting setting) { return shortestText(s.number(setting)); };
    if (s.number(Setting::V0Min) > s.number(Setting::V0Max)) {
        // The effect draws speeds V0Min + hundredths below the difference in
        // size, so the range mirrors upward from V0Min.
        const double top = s.number(Setting::V0Min) + (s.number(Setting::V0Min) - s.number(Setting::V0Max));
        conflicts.push_back({Setting::V0Min, Setting::V0Max,
                             "V0Min " + number(Setting::V0Min) + " is above V0Max " + number(Setting::V0Max) +
                                 ": launch speeds run from V0Min up to " + shortestText(top) +
                                 ", not between the two; make V0Min at most V0Max"});
    }
    if (s.whole(Setting::AgeMin) > s.whole(Setting::AgeMax)) {
        conflicts.push_back({Setting::AgeMin, Setting::AgeMax,
                             "AgeMin " + number(Setting::AgeMin) + " is above AgeMax " + number(Setting::AgeMax) +
                                 ": every particle lives exactly AgeMin frames; make AgeMin at most AgeMax"});
    }
    return conflicts;
}

}  // namespace plof::host
