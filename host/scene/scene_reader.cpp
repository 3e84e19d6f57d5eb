#include "host/scene/scene_reader.h"

#include <algorithm>
#include <span>

#include "host/base/host_error.h"
#include "host/base/number_text.h"
#include "host/base/quoted_text.h"
#include "host/base/text_lines.h"
#include "host/base/text_words.h"
#include "host/objects/object_file.h"
#include "plof/module.h"

namespace plof::host {

namespace {

constexpr std::string_view kEffectClass = PLOF_CLASS_DISPLACEMENT_HANDLER;
constexpr std::string_view kEffectName = PLOF_SERVER_NAME;
// More keys than this in one envelope is taken for a damaged file.
constexpr int32_t kMaxKeys = 10'000'000;
// The one channel of a dissolve envelope, named for messages.
constexpr std::string_view kDissolveChannelName[] = {"dissolve"};
// The scene format this host reads.
constexpr int32_t kSceneVersion = 1;

bool startsItem(std::string_view line) {
    return startsWithWord(line, "LoadObject") || startsWithWord(line, "AddNullObject");
}

// Lines the host does not read keep their place before or after the first
// part it writes itself (motion, dissolve, parent, effect).
std::vector<std::string> &keptLines(HostItem &item) {
    const bool afterKnownPart = item.hasMotionBlock || item.hasDissolve || item.parent != 0 || item.hasEffect;
    return afterKnownPart ? item.blockLinesAfter : item.blockLinesBeforeMotion;
}

class SceneParser {
public:
    SceneParser(std::string_view text, const std::string &fileName) : lines_(splitLines(text)), fileName_(fileName) {}

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
    // Reads an envelope of at most channelNames.size() channels whose first
    // line (the keyword line) is at `index`; returns the index after its
    // EndBehavior line. Keys that take a channel beyond what the host can
    // pose are an error.
    std::size_t envelope(std::size_t index, std::span<const std::string_view> channelNames, int32_t &channels,
                         std::vector<MotionKey> &keys, std::string &endLine) const;
    // Reads an item's block from `index` (the line after its first line);
    // returns the index of the line after it.
    std::size_t block(std::size_t index, HostItem &item);
    // Reads the part of a block that the line at `index` starts (one line,
    // or an envelope or plug-in block); returns the index after it.
    std::size_t part(std::size_t index, HostItem &item);
    std::size_t motionPart(std::size_t index, HostItem &item);
    std::size_t dissolvePart(std::size_t index, HostItem &item);
    std::size_t parentPart(std::size_t index, HostItem &item);
    std::size_t pluginPart(std::size_t index, HostItem &item);
    using PartReader = std::size_t (SceneParser::*)(std::size_t, HostItem &);
    struct Part {
        std::string_view keyword;
        PartReader read;
    };
    static constexpr Part kParts[] = {{"ObjectMotion", &SceneParser::motionPart},
                                      {"ObjDissolve", &SceneParser::dissolvePart},
                                      {"ParentObject", &SceneParser::parentPart},
                                      {"Plugin", &SceneParser::pluginPart}};
    // Every ParentObject names an item of the scene and no chain of parents
    // comes back on itself; returns the items in parents-first order.
    std::vector<std::size_t> checkParents(const HostScene &scene) const;
    // No item's world position or scale can go beyond kLargestChannelValue.
    void checkReach(const HostScene &scene, const std::vector<std::size_t> &parentsFirst) const;
    // A version line, when the scene has one, says version 1.
    void checkVersion() const;

    std::vector<std::string_view> lines_;
    const std::string &fileName_;
    std::vector<std::size_t> parentLines_;  // per item: its ParentObject line, else its first line
};

int32_t SceneParser::countLine(std::size_t index, std::string_view what, int32_t low, int32_t high) const {
    const std::string_view line = need(index, what);
    const auto value = parseInteger(line);
    if (!value || *value < low || *value > high) {
        fail(index, "expected " + std::string(what) + " (a whole number from " + std::to_string(low) + " to " +
                        std::to_string(high) + "), found " + quotedText(line));
    }
    return *value;
}

MotionKey SceneParser::keyPair(std::size_t index, int32_t channels) const {
    MotionKey key;
    const std::vector<std::string_view> values = splitWords(need(index, "a key's values"));
    if (values.size() != static_cast<std::size_t>(channels)) {
        fail(index, "a key needs " + std::to_string(channels) + " values, found " + std::to_string(values.size()));
    }
    for (int32_t c = 0; c < channels; ++c) {
        const auto value = parseNumber(values[c]);
        if (!value) {
            fail(index, quotedText(values[c]) + " is not a number");
        }
        key.values[c] = *value;
    }
    const std::vector<std::string_view> settings = splitWords(need(index + 1, "a key's frame line"));
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

std::size_t SceneParser::envelope(std::size_t index, std::span<const std::string_view> channelNames, int32_t &channels,
                                  std::vector<MotionKey> &keys, std::string &endLine) const {
    channels = countLine(index + 1, "the channel count", 1, static_cast<int32_t>(channelNames.size()));
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
        fail(at, "expected EndBehavior after the keys, found " + quotedText(end));
    }
    endLine = std::string(end);
    sortKeys(keys);
    if (const std::string overflow = channelOverflow(keys, channelNames); !overflow.empty()) {
        fail(index, overflow);
    }
    return at + 1;
}

std::size_t SceneParser::block(std::size_t index, HostItem &item) {
    item.hasMotionBlock = false;
    item.blockEndsWithBlank = false;
    while (index < lines_.size()) {
        const std::string_view line = lines_[index];
        if (startsItem(line)) {
            return index;
        }
        if (line.empty()) {
            item.blockEndsWithBlank = true;
            return index + 1;
        }
        index = part(index, item);
    }
    return index;
}

std::size_t SceneParser::part(std::size_t index, HostItem &item) {
    const std::string_view line = lines_[index];
    for (const auto &[keyword, read] : kParts) {
        if (startsWithWord(line, keyword)) {
            return (this->*read)(index, item);
        }
    }
    keptLines(item).emplace_back(line);
    return index + 1;
}

std::size_t SceneParser::motionPart(std::size_t index, HostItem &item) {
    if (item.hasMotionBlock) {
        fail(index, "a second ObjectMotion in one item");
    }
    item.hasMotionBlock = true;
    return envelope(index, kMotionChannelNames, item.motionChannels, item.motion, item.motionEnd);
}

std::size_t SceneParser::dissolvePart(std::size_t index, HostItem &item) {
    if (item.hasDissolve) {
        fail(index, "a second ObjDissolve in one item");
    }
    item.hasDissolve = true;
    const std::string_view rest = afterWord(lines_[index], "ObjDissolve");
    if (rest == "(envelope)") {
        int32_t channels = 0;
        return envelope(index, kDissolveChannelName, channels, item.dissolve, item.dissolveEnd);
    }
    const auto value = parseNumber(rest);
    if (!value) {
        fail(index, "ObjDissolve needs (envelope) or a number, found " + quotedText(rest));
    }
    item.dissolveIsEnvelope = false;
    MotionKey key;
    key.values[0] = *value;
    item.dissolve = {key};
    return index + 1;
}

std::size_t SceneParser::parentPart(std::size_t index, HostItem &item) {
    const std::string_view line = lines_[index];
    const auto parent = parseInteger(afterWord(line, "ParentObject"));
    if (!parent || *parent < 1) {
        fail(index, "ParentObject needs an item number of 1 or more, found " + quotedText(line));
    }
    item.parent = *parent;
    parentLines_.back() = index;
    return index + 1;
}

std::size_t SceneParser::pluginPart(std::size_t index, HostItem &item) {
    const std::string_view line = lines_[index];
    const std::vector<std::string_view> header = splitWords(line);
    const bool ours = header.size() == 4 && header[1] == kEffectClass && header[3] == kEffectName;
    if (ours && item.hasEffect) {
        fail(index, "a second PLOF! effect on one item");
    }
    // A block left open must not swallow the items after it.
    std::size_t end = index + 1;
    while (end < lines_.size() && lines_[end] != "EndPlugin" && !startsItem(lines_[end])) {
        ++end;
    }
    if (end == lines_.size() || lines_[end] != "EndPlugin") {
        fail(index, "no EndPlugin line closes this plug-in block" +
                        (end == lines_.size() ? std::string()
                                              : " (the next item begins at line " + std::to_string(end + 1) + ")"));
    }
    const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(index);
    const auto last = lines_.begin() + static_cast<std::ptrdiff_t>(end);
    if (ours) {
        item.hasEffect = true;
        item.effectHeader = std::string(line);
        item.effectLineNumber = index + 2;
        item.effectLines.assign(first + 1, last);
    } else {
        std::vector<std::string> &kept = keptLines(item);
        kept.insert(kept.end(), first, last + 1);
    }
    return end + 1;
}

std::vector<std::size_t> SceneParser::checkParents(const HostScene &scene) const {
    const std::size_t count = scene.items.size();
    for (std::size_t i = 0; i < count; ++i) {
        const int32_t parent = scene.items[i].parent;
        if (static_cast<std::size_t>(parent) > count) {
            fail(parentLines_[i],
                 "ParentObject " + std::to_string(parent) + ": the scene has only " + std::to_string(count) + " items");
        }
    }
    ParentOrder parents = parentsFirstOrder(scene);
    if (const auto looping = parents.looping) {
        fail(parentLines_[*looping],
             "ParentObject " + std::to_string(scene.items[*looping].parent) + " makes the item its own ancestor");
    }
    return std::move(parents.order);
}

void SceneParser::checkReach(const HostScene &scene, const std::vector<std::size_t> &parentsFirst) const {
    // Bounds on the world position and scale of each item at any time:
    // position = parent position + parent axes x (parent scale * own
    // position), where each of the three axes has components of at most 1.
    std::vector<double> positionReach(scene.items.size()), scaleReach(scene.items.size());
    for (const std::size_t i : parentsFirst) {
        const HostItem &item = scene.items[i];
        double position = 0.0, scale = 0.0;
        for (int c = 0; c < 3; ++c) {
            position = std::max(position, channelReach(item.motion, kX + c));
            scale = std::max(scale, channelReach(item.motion, kScaleX + c));
        }
        if (item.parent != 0) {
            const auto parent = static_cast<std::size_t>(item.parent) - 1;
            position = positionReach[parent] + 3.0 * scaleReach[parent] * position;
            scale *= scaleReach[parent];
        }
        if (!(position <= kLargestChannelValue) || !(scale <= kLargestChannelValue)) {
            fail(parentLines_[i], std::string("under its parents the item's world ") +
                                      (scale <= kLargestChannelValue ? "position" : "scale") + " can go beyond " +
                                      shortestText(kLargestChannelValue) +
                                      " (the largest value the host poses items with)");
        }
        positionReach[i] = position;
        scaleReach[i] = scale;
    }
}

void SceneParser::checkVersion() const {
    // Scenes written by hand often leave the version line out: a second line
    // that is no number is read as the first line of a version 1 scene.
    if (lines_.size() < 2) {
        return;
    }
    const auto version = parseNumber(lines_[1]);
    if (version && *version != kSceneVersion) {
        fail(1, "LWSC version " + lineExcerpt(lines_[1]) + ": this host reads only version " +
                    std::to_string(kSceneVersion) + " scenes");
    }
}

HostScene SceneParser::parse() {
    if (!lines_.empty() && lines_[0].starts_with("PLOF_START")) {
        fail(0, "an effect settings file (.plf), not a scene; give it with --object OBJECT --settings FILE.plf");
    }
    if (lines_.empty() || lines_[0] != "LWSC") {
        fail(0, "not an LWSC scene (its first line must be LWSC)");
    }
    checkVersion();
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
        item.source = std::string(afterWord(line, loaded ? "LoadObject" : "AddNullObject"));
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
    if (scene.items.empty()) {
        throw InputError(fileName_ + ": no item: the scene has no LoadObject or AddNullObject line");
    }
    scene.closingLines = std::move(pending);
    checkReach(scene, checkParents(scene));
    return scene;
}

}  // namespace

HostScene parseSceneText(std::string_view text, const std::string &fileName) {
    if (text.find('\0') != std::string_view::npos) {
        throw InputError(fileName + ": binary data in a scene file; an LWSC scene is text");
    }
    return SceneParser(text, fileName).parse();
}

}  // namespace plof::host
