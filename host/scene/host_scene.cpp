#include "host/scene/host_scene.h"

#include <algorithm>
#include <utility>

#include "host/base/host_error.h"
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

// The header line "KEYWORD VALUE": VALUE and the line's number (1-based; the
// header starts the scene).
std::optional<std::pair<std::string_view, std::size_t>> headerLine(const HostScene &scene, std::string_view keyword) {
    for (std::size_t i = 0; i < scene.header.size(); ++i) {
        const std::string_view text = scene.header[i];
        if (text.size() > keyword.size() && text.starts_with(keyword) && text[keyword.size()] == ' ') {
            return std::pair{text.substr(keyword.size() + 1), i + 1};
        }
    }
    return std::nullopt;
}

std::optional<int32_t> headerInteger(const HostScene &scene, std::string_view keyword) {
    const auto line = headerLine(scene, keyword);
    return line ? parseInteger(line->first) : std::nullopt;
}

}  // namespace

std::optional<HeaderFrames> headerFrameRange(const HostScene &scene, const std::string &fileName) {
    const auto first = headerInteger(scene, "FirstFrame");
    const auto last = headerInteger(scene, "LastFrame");
    if (!first || !last) return std::nullopt;
    if (*first > *last) {
        throw InputError(fileName + ":" + std::to_string(headerLine(scene, "LastFrame")->second) + ": LastFrame " +
                         std::to_string(*last) + " is below FirstFrame " + std::to_string(*first) + ": make it " +
                         std::to_string(*first) + " or more (or give --frames A..B)");
    }
    return HeaderFrames{*first, *last};
}

std::optional<HeaderNumber> headerFrameRate(const HostScene &scene, const std::string &fileName) {
    const auto line = headerLine(scene, "FramesPerSecond");
    if (!line) return std::nullopt;
    const auto value = parseNumber(line->first);
    if (!value) {
        throw InputError(fileName + ":" + std::to_string(line->second) + ": FramesPerSecond \"" +
                         std::string(line->first) + "\" is not a number");
    }
    return HeaderNumber{*value, line->second};
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

void setHeaderFrames(std::vector<std::string> &header, FrameRange frames, double fps) {
    const std::pair<std::string, std::string> lines[] = {{"FirstFrame", std::to_string(frames.first)},
                                                         {"LastFrame", std::to_string(frames.last)},
                                                         {"FramesPerSecond", fixedText(fps)}};
    // Plain names, not a structured binding: clang 14 cannot capture one.
    for (const auto &line : lines) {
        const std::string &keyword = line.first;
        const std::string &value = line.second;
        const auto same = [&keyword](const std::string &text) {
            return text.starts_with(keyword) && (text.size() == keyword.size() || text[keyword.size()] == ' ');
        };
        const auto found = std::find_if(header.begin(), header.end(), same);
        if (found != header.end()) {
            *found = keyword + " " + value;
            continue;
        }
        const auto end = !header.empty() && header.back().empty() ? header.end() - 1 : header.end();
        header.insert(end, keyword + " " + value);
    }
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
