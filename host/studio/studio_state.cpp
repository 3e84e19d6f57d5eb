#include "host/studio/studio_state.h"

#include "host/base/code_page_text.h"
#include "host/play/summary_json.h"
#include "host/studio/settings_request.h"

namespace plof::host::studio {

nlohmann::ordered_json stateJson(const StudioStateView &view) {
    nlohmann::ordered_json items = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < view.items.size(); ++i) {
        const StudioItem &item = view.items[i];
        items.push_back({{"item", i + 1},
                         {"name", utf8FromCodePage(item.name)},
                         {"positions", item.positions},
                         {"settings", item.settings ? settingsJson(*item.settings) : nlohmann::ordered_json(nullptr)}});
    }
    return {{"revision", view.revision},
            {"frames", {{"first", view.firstFrame}, {"last", view.lastFrame}}},
            {"fps", view.fps},
            {"items", items},
            {"settingsTable", settingsVocabularyJson()},
            {"summary", summariesJson(view.summaries ? *view.summaries : std::vector<EffectSummary>{})},
            {"warnings", view.warnings ? *view.warnings : std::vector<std::string>{}}};
}

}  // namespace plof::host::studio
