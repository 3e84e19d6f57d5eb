// What a person edits in the studio, as plain data: for every item of the
// scene its name, its object, its motion keys and its effect's block, and
// the frame range and rate. A document is all a step of the history holds
// (no points, no module), so that undo, redo and revert are copies and the
// session's state can be written down and read back.
//
// The scene played for a document is the scene the studio started with
// (its kept text, parents and dissolves) with the document's parts put in.
#pragma once

#include <string>
#include <vector>

#include "host/base/frame_rate.h"
#include "host/run/playback_inputs.h"
#include "host/scene/motion.h"

namespace plof::host::studio {

struct StudioItemEdit {
    std::string name;
    std::string object;      // as the scene names it: a path, a built-in shape; a null's name
    std::string objectFile;  // the file its points are read from; "" for a built-in shape, a null, a file not found
    std::vector<MotionKey> motion;
    std::vector<std::string> effectLines;  // the effect's block (empty without the effect)

    bool operator==(const StudioItemEdit &) const = default;
};

struct StudioDocument {
    std::vector<StudioItemEdit> items;  // in scene order, one per item of the scene
    FrameRange frames;
    double fps = kDefaultFrameRate;

    bool operator==(const StudioDocument &other) const {
        return items == other.items && frames.first == other.frames.first && frames.last == other.frames.last &&
               fps == other.fps;
    }
};

// The document of a scene as it is played.
StudioDocument documentOf(const PlaybackInputs &scene);

// The points of an object the document names; thrown InputError for one
// that cannot be read.
class ObjectPoints {
public:
    virtual ~ObjectPoints() = default;
    virtual std::vector<float> points(const StudioItemEdit &item) = 0;
};

// `start` (the scene the studio started with) with `document` put in: its
// items' names, objects (their points from `objects` where the object is
// not the one `start` holds), motion keys and effect blocks, the frames and
// rate, also in the header's lines. `start` has no panel run left to perform.
PlaybackInputs documentScene(const PlaybackInputs &start, const StudioDocument &document, ObjectPoints &objects);

}  // namespace plof::host::studio
