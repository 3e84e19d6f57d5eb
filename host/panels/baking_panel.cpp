#include "host/panels/baking_panel.h"

namespace plof::host::baking_panel {

namespace {

const PlofControlRecord *control(const PlofPanelRecord &panel, const char *label, ControlKind kind) {
    for (const auto &candidate : panel.controls) {
        if (candidate->label == label && candidate->kind == kind) return candidate.get();
    }
    return nullptr;
}

}  // namespace

std::optional<AskedBake> askedBake(const PlofPanelRecord &panel) {
    const PlofControlRecord *scene = control(panel, kSceneName, ControlKind::File);
    const PlofControlRecord *frames = control(panel, kFrames, ControlKind::Number);
    const PlofControlRecord *step = control(panel, kFrameStep, ControlKind::Number);
    if (!scene || !frames || !step) return std::nullopt;
    // The module reads the number fields as 32-bit integers.
    return AskedBake{scene->text, static_cast<int32_t>(frames->integer), static_cast<int32_t>(step->integer)};
}

}  // namespace plof::host::baking_panel
