#include "host/scene/host_scene.h"

#include <algorithm>

#include "host/base/number_text.h"

namespace plof::host {

double HostItem::dissolveAt(int32_t frame) const {
    return hasDissolve && !dissolve.empty() ? interpolateChannel(dissolve, 0, frame) : 0.0;
}

bool HostScene::hasDissolve() const {
    return std::any_of(items.begin(), items.end(), [](const HostItem &item) { return item.hasDissolve; });
}

ParentOrder parentsFirstOrder(const HostScene &scene) {
    enum class Mark : unsigned char { kUnseen, kOnPath, kPlaced };
    const std::size_t count = scene.items.size();
    std::vector<Mark> marks(count, Mark::kUnseen);
    ParentOrder result;
    result.order.reserve(count);
    std::vector<std::size_t> path;
    for (std::size_t i = 0; i < count; ++i) {
        // Walk up from item i to a root or to an item already placed, then
        // place the walked items from the top down.
        path.clear();
        std::size_t at = i;
        while (marks[at] == Mark::kUnseen) {
            marks[at] = Mark::kOnPath;
            path.push_back(at);
            const int32_t parent = scene.items[at].parent;
            if (parent == 0) {
                break;
            }
            at = static_cast<std::size_t>(parent) - 1;
        }
        if (marks[at] == Mark::kOnPath && scene.items[at].parent != 0) {
            return {{}, i};
        }
        for (auto walked = path.rbegin(); walked != path.rend(); ++walked) {
            marks[*walked] = Mark::kPlaced;
            result.order.push_back(*walked);
        }
    }
    return result;
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
