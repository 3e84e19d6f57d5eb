#include "host/host_scene.h"

#include <algorithm>

#include "host/number_text.h"

namespace plof::host {

bool HostScene::hasDissolve() const {
    return std::any_of(items.begin(), items.end(), [](const HostItem &item) { return item.hasDissolve; });
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
