#include "host/host_scene.h"

#include <algorithm>

#include "host/number_text.h"

namespace plof::host {

double HostItem::dissolveAt(int32_t frame) const {
    return hasDissolve && !dissolve.empty() ? interpolateChannel(dissolve, 0, frame) : 0.0;
}

bool HostScene::hasDissolve() const {
    return std::any_of(items.begin(), items.end(), [](const HostItem &item) { return item.hasDissolve; });
}

namespace {

// The value of the header line "KEYWORD N".
std::optional<int32_t> headerInteger(const HostScene &scene, std::string_view keyword) {
    for (const std::string &line : scene.header) {
        const std::string_view text = line;
        if (text.size() > keyword.size() && text.starts_with(keyword) && text[keyword.size()] == ' ') {
            return parseInteger(text.substr(keyword.size() + 1));
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<HeaderFrames> headerFrameRange(const HostScene &scene) {
    const auto first = headerInteger(scene, "FirstFrame");
    const auto last = headerInteger(scene, "LastFrame");
    if (!first || !last || *first > *last) return std::nullopt;
    return HeaderFrames{*first, *last};
}

std::vector<std::string> defaultSceneHeader(int32_t firstFrame, int32_t lastFrame, double fps) {
    return {"LWSC",
            "1",
            "",
            "FirstFrame " + std::to_string(firstFrame),
            "LastFrame " + std::to_string(lastFrame),
            "FrameStep 1",
            "FramesPerSecond " + fixedText(fps),
            ""};
}

HostItem makeObjectItem(std::string name, std::string source, std::vector<float> points) {
    HostItem item;
    item.name = std::move(name);
    item.source = std::move(source);
    item.points = std::move(points);
    item.blockLinesBeforeMotion = {"ShowObject 8 7"};
    item.blockLinesAfter = {"ShadowOptions 7"};
    return item;
}

}  // namespace plof::host
