#include <algorithm>
#include <filesystem>

#include "host/file_bytes.h"
#include "host/host_error.h"
#include "host/number_text.h"
#include "host/object_points.h"
#include "host/scene_file.h"

namespace plof::host {

namespace {

constexpr std::string_view kEffectClass = "DisplacementHandler";
constexpr std::string_view kEffectName = "PLOF!";
// More keys than this in one envelope is taken for a damaged file.
constexpr int32_t kMaxKeys = 10'000'000;

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t at = 0;
    while (true) {
        at = line.find_first_not_of(" \t", at);
        if (at == std::string_view::npos) {
            return out;
        }
        const std::size_t end = std::min(line.find_first_of(" \t", at), line.size());
        out.push_back(line.substr(at, end - at));
        at = end;
    }
}

bool startsWithWord(std::string_view line, std::string_view keyword) {
    return line.starts_with(keyword) && (line.size() == keyword.size() || line[keyword.size()] == ' ' ||
                                         line[keyword.size()] == '\t');
}

std::string_view afterKeyword(std::string_view line, std::string_view keyword) {
    std::string_view rest = line.substr(keyword.size());
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) {
        rest.remove_prefix(1);
    }
    return rest;
}

class SceneParser {
public:
    SceneParser(std::string_view text, const std::string &fileName)
        : lines_(splitLines(text)), fileName_(fileName) {}

    HostScene parse();

private:
    [[noreturn]] void fail(std::size_t index, const std::string &what) const {
        throw InputError(fileName_ + ": line " + std::to_string(index + 1) + ": " + what);
    }
    // The line at `index`, or an error saying what the file lacks there.
    std::string_view need(std::size_t index, std::string_view what) const {
        if (index >= lines_.size()) {
            throw InputError(fileName_ + ": line " + std::to_string(index + 1) + ": the file ends where " +
                             std::string(what) + " should be");
        }
        return lines_[index];
    }
    int32_t countLine(std::size_t index, std::string_view what, int32_t low, int32_t high) const;
    MotionKey keyPair(std::size_t index, int32_t channels) const;
    // Reads an envelope whose first line (the keyword line) is at `index`;
    // returns the index after its EndBehavior line.
    std::size_t envelope(std::size_t index, int32_t maxChannels, int32_t &channels, std::vector<MotionKey> &keys,
                         std::string &endLine) const;
    std::size_t block(std::size_t index, HostItem &item);
    // Every ParentObject names an item of the scene and no chain of parents
    // comes back on itself.
    void checkParents(const HostScene &scene) const;

    std::vector<std::string_view> lines_;
    const std::string &fileName_;
    std::vector<std::size_t> parentLines_;  // per item: its ParentObject line, else its first line
};

int32_t SceneParser::countLine(std::size_t index, std::string_view what, int32_t low, int32_t high) const {
    const std::string_view line = need(index, what);
    const auto value = parseInteger(line);
    if (!value || *value < low || *value > high) {
        fail(index, "expected " + std::string(what) + " (a whole number from " + std::to_string(low) + " to " +
                        std::to_string(high) + "), found \"" + std::string(line) + "\"");
    }
    return *value;
}

MotionKey SceneParser::keyPair(std::size_t index, int32_t channels) const {
    MotionKey key;
    const std::vector<std::string_view> values = words(need(index, "a key's values"));
    if (values.size() != static_cast<std::size_t>(channels)) {
        fail(index, "a key needs " + std::to_string(channels) + " values, found " + std::to_string(values.size()));
    }
    for (int32_t c = 0; c < channels; ++c) {
        const auto value = parseNumber(values[c]);
        if (!value) {
            fail(index, "\"" + std::string(values[c]) + "\" is not a number");
        }
        key.values[c] = *value;
    }
    const std::vector<std::string_view> settings = words(need(index + 1, "a key's frame line"));
    if (settings.size() != 5) {
        fail(index + 1, "a key's frame line needs five numbers: frame, linear, tension, continuity, bias");
    }
    const auto frame = parseInteger(settings[0]);
    const auto linear = parseInteger(settings[1]);
    const auto tension = parseNumber(settings[2]);
    const auto continuity = parseNumber(settings[3]);
    const auto bias = parseNumber(settings[4]);
    if (!frame || !linear || !tension || !continuity || !bias) {
        fail(index + 1, "a key's frame line needs a whole frame, a whole linear flag and three numbers");
    }
    key.frame = *frame;
    key.linear = *linear;
    key.tension = *tension;
    key.continuity = *continuity;
    key.bias = *bias;
    return key;
}

std::size_t SceneParser::envelope(std::size_t index, int32_t maxChannels, int32_t &channels,
                                  std::vector<MotionKey> &keys, std::string &endLine) const {
    channels = countLine(index + 1, "the channel count", 1, maxChannels);
    const int32_t count = countLine(index + 2, "the key count", 0, kMaxKeys);
    std::size_t at = index + 3;
    if (static_cast<std::size_t>(count) * 2 > lines_.size() - std::min(at, lines_.size())) {
        fail(index + 2, "the key count " + std::to_string(count) + " runs past the end of the file");
    }
    keys.clear();
    keys.reserve(static_cast<std::size_t>(count));
    for (int32_t k = 0; k < count; ++k, at += 2) {
        keys.push_back(keyPair(at, channels));
    }
    const std::string_view end = need(at, "EndBehavior");
    if (!startsWithWord(end, "EndBehavior")) {
        fail(at, "expected EndBehavior after the keys, found \"" + std::string(end) + "\"");
    }
    endLine = std::string(end);
    sortKeys(keys);
    return at + 1;
}

std::size_t SceneParser::block(std::size_t index, HostItem &item) {
    // Kept lines keep their place before or after the parts the host writes itself.
    bool seenKnownPart = false;
    item.hasMotionBlock = false;
    item.blockEndsWithBlank = false;
    while (index < lines_.size()) {
        const std::string_view line = lines_[index];
        if (startsWithWord(line, "LoadObject") || startsWithWord(line, "AddNullObject")) {
            return index;
        }
        if (line.empty()) {
            item.blockEndsWithBlank = true;
            return index + 1;
        }
        auto &kept = seenKnownPart ? item.blockLinesAfter : item.blockLinesBeforeMotion;
        if (startsWithWord(line, "ObjectMotion")) {
            if (item.hasMotionBlock) {
                fail(index, "a second ObjectMotion in one item");
            }
            item.hasMotionBlock = seenKnownPart = true;
            index = envelope(index, kMotionChannels, item.motionChannels, item.motion, item.motionEnd);
        } else if (startsWithWord(line, "ObjDissolve")) {
            if (item.hasDissolve) {
                fail(index, "a second ObjDissolve in one item");
            }
            item.hasDissolve = seenKnownPart = true;
            const std::string_view rest = afterKeyword(line, "ObjDissolve");
            if (rest == "(envelope)") {
                int32_t channels = 0;
                index = envelope(index, 1, channels, item.dissolve, item.dissolveEnd);
            } else {
                const auto value = parseNumber(rest);
                if (!value) {
                    fail(index, "ObjDissolve needs (envelope) or a number, found \"" + std::string(rest) + "\"");
                }
                item.dissolveIsEnvelope = false;
                MotionKey key;
                key.values[0] = *value;
                item.dissolve = {key};
                ++index;
            }
        } else if (startsWithWord(line, "ParentObject")) {
            const auto parent = parseInteger(afterKeyword(line, "ParentObject"));
            if (!parent || *parent < 1) {
                fail(index, "ParentObject needs an item number of 1 or more, found \"" + std::string(line) + "\"");
            }
            item.parent = *parent;
            seenKnownPart = true;
            parentLines_.back() = index;
            ++index;
        } else if (startsWithWord(line, "Plugin")) {
            const std::vector<std::string_view> header = words(line);
            const bool ours = header.size() == 4 && header[1] == kEffectClass && header[3] == kEffectName;
            if (ours && item.hasEffect) {
                fail(index, "a second PLOF! effect on one item");
            }
            std::size_t end = index + 1;
            while (end < lines_.size() && lines_[end] != "EndPlugin") {
                ++end;
            }
            if (end == lines_.size()) {
                fail(index, "no EndPlugin line closes this plug-in block");
            }
            if (ours) {
                item.hasEffect = seenKnownPart = true;
                item.effectHeader = std::string(line);
                item.effectLineNumber = index + 2;
                item.effectLines.assign(lines_.begin() + static_cast<std::ptrdiff_t>(index) + 1,
                                        lines_.begin() + static_cast<std::ptrdiff_t>(end));
            } else {
                kept.insert(kept.end(), lines_.begin() + static_cast<std::ptrdiff_t>(index),
                            lines_.begin() + static_cast<std::ptrdiff_t>(end) + 1);
            }
            index = end + 1;
        } else {
            kept.emplace_back(line);
            ++index;
        }
    }
    return index;
}

void SceneParser::checkParents(const HostScene &scene) const {
    const std::size_t count = scene.items.size();
    for (std::size_t i = 0; i < count; ++i) {
        const int32_t parent = scene.items[i].parent;
        if (parent == 0) {
            continue;
        }
        if (static_cast<std::size_t>(parent) > count) {
            fail(parentLines_[i], "ParentObject " + std::to_string(parent) + ": the scene has only " +
                                     std::to_string(count) + " items");
        }
        // A chain longer than the item count has come back on itself.
        std::size_t steps = 0;
        for (int32_t at = parent; at != 0; at = scene.items[static_cast<std::size_t>(at) - 1].parent) {
            if (static_cast<std::size_t>(at) == i + 1 || ++steps > count) {
                fail(parentLines_[i], "ParentObject " + std::to_string(parent) +
                                         " makes the item its own ancestor");
            }
        }
    }
}

HostScene SceneParser::parse() {
    if (lines_.empty() || lines_[0] != "LWSC") {
        fail(0, "not an LWSC scene (its first line must be LWSC)");
    }
    HostScene scene;
    std::vector<std::string> pending;
    bool inHeader = true;
    std::size_t index = 0;
    while (index < lines_.size()) {
        const std::string_view line = lines_[index];
        const bool loaded = startsWithWord(line, "LoadObject");
        if (!loaded && !startsWithWord(line, "AddNullObject")) {
            (inHeader ? scene.header : pending).emplace_back(line);
            ++index;
            continue;
        }
        inHeader = false;
        HostItem item;
        item.lineNumber = index + 1;
        item.isNull = !loaded;
        item.source = std::string(afterKeyword(line, loaded ? "LoadObject" : "AddNullObject"));
        if (item.source.empty()) {
            fail(index, std::string(loaded ? "LoadObject needs an object file" : "AddNullObject needs a name"));
        }
        item.name = loaded ? objectItemName(item.source) : item.source;
        item.linesBefore = std::move(pending);
        pending.clear();
        parentLines_.push_back(index);
        index = block(index + 1, item);
        scene.items.push_back(std::move(item));
    }
    scene.closingLines = std::move(pending);
    checkParents(scene);
    return scene;
}

}  // namespace

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

HostScene parseSceneText(std::string_view text, const std::string &fileName) {
    if (text.find('\0') != std::string_view::npos) {
        throw InputError(fileName + ": binary data in a scene file; an LWSC scene is text");
    }
    return SceneParser(text, fileName).parse();
}

void loadScenePoints(HostScene &scene, const std::string &sceneFile, const std::string &objectsDirectory,
                     std::vector<std::string> &warnings) {
    namespace fs = std::filesystem;
    const fs::path sceneDirectory = fs::path(sceneFile).parent_path();
    // A baked scene names the same missing file for every particle: one
    // warning per missing file, with its first line and how many items.
    struct Missing {
        std::string source;
        std::size_t firstLine;
        std::size_t items;
    };
    std::vector<Missing> missing;
    for (HostItem &item : scene.items) {
        if (item.isNull) {
            continue;
        }
        if (isBuiltinShape(item.source)) {
            item.points = builtinShapePoints(item.source);
            continue;
        }
        std::string found;
        const fs::path source(item.source);
        std::vector<fs::path> candidates{source};
        if (source.is_relative()) {
            candidates = {sceneDirectory / source, source};
            if (!objectsDirectory.empty()) {
                candidates.push_back(fs::path(objectsDirectory) / source);
            }
        }
        for (const fs::path &candidate : candidates) {
            std::error_code ignored;
            if (fs::is_regular_file(candidate, ignored)) {
                found = candidate.string();
                break;
            }
        }
        if (!found.empty()) {
            item.points = loadObjectPoints(found);
            continue;
        }
        const auto known = std::find_if(missing.begin(), missing.end(),
                                        [&](const Missing &entry) { return entry.source == item.source; });
        if (known == missing.end()) {
            missing.push_back({item.source, item.lineNumber, 1});
        } else {
            ++known->items;
        }
    }
    for (const Missing &entry : missing) {
        const std::string where = sceneFile + ": line " + std::to_string(entry.firstLine) + ": object file \"" +
                                  entry.source + "\" not found; ";
        warnings.push_back(where + (entry.items == 1 ? std::string("the item has no points")
                                                     : "its " + std::to_string(entry.items) +
                                                           " items have no points"));
    }
}

HostScene readSceneFile(const std::string &path, const std::string &objectsDirectory,
                        std::vector<std::string> &warnings) {
    HostScene scene = parseSceneText(readFileBytes(path, "scene file"), path);
    loadScenePoints(scene, path, objectsDirectory, warnings);
    return scene;
}

}  // namespace plof::host
