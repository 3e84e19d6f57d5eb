#include "host/script/bake_request.h"

#include "host/base/number_text.h"
#include "host/panels/baking_panel.h"

namespace plof::host {

namespace {

using namespace baking_panel;

ScriptAction action(ScriptVerb verb, const char *label = nullptr) {
    ScriptAction made;
    made.verb = verb;
    if (label) made.control.label = label;
    return made;
}

ScriptAction setWords(const char *label, std::vector<std::string> words) {
    ScriptAction made = action(ScriptVerb::Set, label);
    for (std::string &word : words) made.values.push_back({std::move(word), true});
    return made;
}

std::string vectorWord(const std::array<double, 3> &values) {
    return shortestText(values[0]) + "," + shortestText(values[1]) + "," + shortestText(values[2]);
}

}  // namespace

PanelScript bakeScript(const BakeRequest &request) {
    PanelScript script;
    script.fileName = "bake step";
    auto &actions = script.actions;
    actions.push_back(action(ScriptVerb::Press, kCreateScene));
    actions.push_back(setWords(kSceneName, {request.out}));
    for (const std::string &object : request.objects) {
        actions.push_back(action(ScriptVerb::Press, kObjectFile));
        ScriptAction choose = action(ScriptVerb::Choose);
        choose.path = object;
        actions.push_back(choose);
    }
    actions.push_back(setWords(kFrames, {std::to_string(request.frames)}));
    actions.push_back(setWords(kFrameStep, {std::to_string(request.step)}));
    actions.push_back(setWords(kHpbMin, {vectorWord(request.hpbMin)}));
    actions.push_back(setWords(kHpbMax, {vectorWord(request.hpbMax)}));
    actions.push_back(setWords(kAlignH, {request.alignH ? "on" : "off"}));
    actions.push_back(setWords(kScale, {request.scale ? "on" : "off"}));
    actions.push_back(setWords(kDissolve, {request.dissolve ? "on" : "off"}));
    actions.push_back(action(ScriptVerb::Confirm));
    actions.push_back(action(ScriptVerb::Cancel));
    // Number the actions so that an error points at the step that failed.
    for (std::size_t i = 0; i < actions.size(); ++i) actions[i].line = static_cast<int>(i) + 1;
    return script;
}

}  // namespace plof::host
