// The stand-in host's scene: its items in scene order, as read from or
// written to LWSC text.
//
// Every item is an object item: a loaded object (with points, or without when
// its file could not be found) or a null object. An item carries its motion
// keys, its parent, an optional dissolve envelope and, when it carries the
// effect, the lines of the effect's saved block. Lines of the scene text that
// the host does not interpret are kept where they stood, so a scene written
// back holds everything it was read with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/base/frame_rate.h"
#include "host/scene/motion.h"
#include "plof/module.h"

namespace plof::host {

struct HostItem {
    std::string name;    // what "LW Item Info" answers
    std::string source;  // the text after LoadObject / AddNullObject
    // The object file its points were read from, as found (beside the scene,
    // ...); "" for a built-in shape, a null and a file not found.
    std::string objectFile;
    bool isNull = false;
    std::vector<float> points;   // x, y, z per point, object coordinates
    std::size_t lineNumber = 0;  // of its LoadObject / AddNullObject line, 0 when made
    bool hasMotionBlock = true;
    int32_t motionChannels = kMotionChannels;
    std::vector<MotionKey> motion;  // sorted by frame; empty: rest pose
    std::string motionEnd = "EndBehavior 1";
    bool hasDissolve = false;
    bool dissolveIsEnvelope = true;   // else one constant value, dissolve[0]
    std::vector<MotionKey> dissolve;  // channel 0 only; sorted by frame
    std::string dissolveEnd = "EndBehavior 1";
    int32_t parent = 0;  // 1-based item number, 0 for none
    bool hasEffect = false;
    std::string effectHeader = "Plugin " PLOF_CLASS_DISPLACEMENT_HANDLER " 1 " PLOF_SERVER_NAME;
    std::vector<std::string> effectLines;  // the effect's saved block
    std::size_t effectLineNumber = 1;      // of effectLines' first line in its file
    // Kept text: lines before this item's block (after the previous one),
    // block lines before the first part the host reads itself (motion,
    // dissolve, parent, effect), and block lines after such a part.
    std::vector<std::string> linesBefore;
    std::vector<std::string> blockLinesBeforeMotion;
    std::vector<std::string> blockLinesAfter;
    bool blockEndsWithBlank = true;

    int32_t pointCount() const { return static_cast<int32_t>(points.size() / 3); }
    // The dissolve at `frame`: 0 (fully shown) without a dissolve, 1 hidden.
    double dissolveAt(int32_t frame) const;
    // Whether the host draws the item at `frame`: not while it is wholly
    // dissolved, effect or not.
    bool shownAt(int32_t frame) const { return dissolveAt(frame) < 1.0; }
};

struct HostScene {
    std::vector<std::string> header;  // from "LWSC" up to the first item
    std::vector<HostItem> items;
    std::vector<std::string> closingLines;  // after the last item's block

    bool hasDissolve() const;
};

// The items (0-based) in an order in which every item comes after its parent,
// in time linear in the number of items. When a chain of parents comes back
// on itself there is no such order: `order` is then empty and `looping` is
// the first item in scene order whose chain never ends. Every parent must be
// 0 or the number of an item of the scene.
struct ParentOrder {
    std::vector<std::size_t> order;
    std::optional<std::size_t> looping;
};
ParentOrder parentsFirstOrder(const HostScene &scene);

// The frames a scene's header asks to be shown: its "FirstFrame" and
// "LastFrame" lines, when both are there as whole numbers. Throws InputError
// naming `fileName` and the line when LastFrame is below FirstFrame.
struct HeaderFrames {
    int32_t first;
    int32_t last;
};
std::optional<HeaderFrames> headerFrameRange(const HostScene &scene, const std::string &fileName);

// A scene's "FramesPerSecond" line: its value and line number (1-based),
// when the header has one. Throws InputError naming `fileName` and the line
// when the value is not a number.
struct HeaderNumber {
    double value;
    std::size_t line;
};
std::optional<HeaderNumber> headerFrameRate(const HostScene &scene, const std::string &fileName);

// The header of a scene made from scratch: "LWSC", version 1, frame range and
// frames per second.
std::vector<std::string> defaultSceneHeader(int32_t firstFrame, int32_t lastFrame, double fps);

// Sets the header's FirstFrame, LastFrame and FramesPerSecond lines to
// `frames` and `fps` (written as defaultSceneHeader writes them), adding
// those it lacks before its closing empty line.
void setHeaderFrames(std::vector<std::string> &header, FrameRange frames, double fps);

// A loaded-object item whose block reads like the host's default one
// ("ShowObject 8 7" before the motion, "ShadowOptions 7" after it).
HostItem makeObjectItem(std::string name, std::string source, std::vector<float> points);

}  // namespace plof::host
