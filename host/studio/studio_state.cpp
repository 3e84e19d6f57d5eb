#include "host/studio/studio_state.h"

#include "host/base/code_page_text.h"
#include "host/pictures/point_colours.h"
#include "host/play/summary_json.h"
#include "host/scene/motion_text.h"
#include "host/settings/plf_file.h"
#include "host/settings/settings_conflicts.h"
#include "host/studio/settings_request.h"
#include "host/studio/settings_vocabulary.h"

namespace plof::host::studio {

namespace {

nlohmann::ordered_json motionJson(const std::vector<MotionKey> &keys) {
    nlohmann::ordered_json splines = nlohmann::ordered_json::array();
    bool scaled = false;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const MotionKey &key = keys[k];
        scaled = scaled || key.values[kScaleX] != 1.0 || key.values[kScaleY] != 1.0 || key.values[kScaleZ] != 1.0;
        // A spline runs into every key after the first that is not linear.
        const bool curved =
            (k > 0 && key.linear == 0) || key.tension != 0.0 || key.continuity != 0.0 || key.bias != 0.0;
        if (curved) {
            splines.push_back(
                {{"frame", key.frame}, {"tension", key.tension}, {"continuity", key.continuity}, {"bias", key.bias}});
        }
    }
    return {{"keys", motionText(keys)}, {"splines", splines}, {"scaled", scaled}};
}

nlohmann::ordered_json keywordOrNull(std::optional<Setting> setting) {
    return setting ? nlohmann::ordered_json(ruleOf(*setting).keyword) : nlohmann::ordered_json(nullptr);
}

// What the settings contradict, then what the summary of the play warns about.
nlohmann::ordered_json effectWarnings(const EffectSettings &settings, const EffectSummary *summary) {
    nlohmann::ordered_json warnings = nlohmann::ordered_json::array();
    for (const SettingConflict &conflict : settingConflicts(settings)) {
        warnings.push_back({{"keyword", ruleOf(conflict.setting).keyword}, {"message", conflict.message}});
    }
    if (!summary) return warnings;
    for (const EffectWarning &warning : summary->warnings) {
        warnings.push_back(
            {{"keyword", keywordOrNull(warning.setting)}, {"message", utf8FromCodePage(warning.message)}});
    }
    return warnings;
}

std::string plfText(const EffectSettings &settings) {
    std::string text;
    for (const std::string &line : settingsFileLines(settings)) text += line + "\n";
    return utf8FromCodePage(text);
}

}  // namespace

nlohmann::ordered_json stateJson(const StudioStateView &view) {
    nlohmann::ordered_json items = nlohmann::ordered_json::array();
    std::size_t effects = 0;
    for (std::size_t i = 0; i < view.scene->items.size(); ++i) {
        const HostItem &item = view.scene->items[i];
        nlohmann::ordered_json entry{{"item", i + 1},
                                     {"name", utf8FromCodePage(item.name)},
                                     {"object", item.isNull ? nlohmann::ordered_json(nullptr)
                                                            : nlohmann::ordered_json(utf8FromCodePage(item.source))},
                                     {"positions", (*view.positions)[i]},
                                     {"motion", motionJson(item.motion)},
                                     {"colour", colourText(item.hasEffect ? flyingColour(effects) : kOtherItemColour)},
                                     {"settings", nullptr}};
        if (item.hasEffect) {
            ++effects;
            const EffectSettings &settings = (*view.settings)[i];
            const EffectSummary *summary = nullptr;
            for (const EffectSummary &s : *view.summaries) summary = s.item == i ? &s : summary;
            entry["settings"] = settingsJson(settings);
            entry["warnings"] = effectWarnings(settings, summary);
            entry["plf"] = plfText(settings);
        }
        items.push_back(entry);
    }
    return {{"revision", view.revision},
            {"frames", {{"first", view.frames.first}, {"last", view.frames.last}}},
            {"fps", view.fps},
            {"items", items},
            {"colours",
             {{"resting", colourText(kRestingColour)},
              {"other", colourText(kOtherItemColour)},
              {"pivot", colourText(kPivotColour)}}},
            {"history", {{"undo", view.undoable}, {"redo", view.redoable}, {"unsaved", view.unsaved}}},
            {"settingsTable", settingsVocabularyJson()},
            {"summary", summariesJson(*view.summaries)},
            {"warnings", *view.warnings}};
}

}  // namespace plof::host::studio
