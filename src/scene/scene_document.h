// SceneDocument: a host scene (LWSC text) held in memory as a doubly linked
// list of lines, built from the default scene and edited by keyword search.
//
// The document owns its lines and each line owns its text. Every text ends
// with a line feed and is at most 255 characters long with it: the
// operations compose texts in 256-byte line buffers and refuse a text that
// would not fit (a name too long for its object line) rather than cut it,
// leaving the document unchanged. Every editing operation allocates what it
// needs before it changes anything, so a failed allocation also leaves the
// document as it was.
//
// A bake builds the scene's head here and adds its null object
// (scene_objects.h); the particle
// objects are written straight from the sampled states by BakedObjects
// (baked_objects.h). The editing operations that define the particle blocks
// one key at a time live with the tests (tests/scene/scene_edits.h), which
// hold the fast writer to them byte for byte.
#pragma once

#include <cstdint>
#include <memory>

#include "instance/handler_instance.h"

namespace plof {

// A line's kind, set by classifyLines from the keyword the line begins with.
enum SceneLineKind : uint8_t {
    kHeaderLine = 0,    // "LWSC"
    kObjectLine = 1,    // "AddNullObject", "LoadObject"
    kLightLine = 2,     // "AddLight"
    kCameraLine = 3,    // "ShowCamera"
    kBackdropLine = 4,  // "SolidBackdrop"
    kRenderLine = 5,    // "RenderMode"
    kViewLine = 6,      // "ViewMode"
    kOtherLine = 7,
};

struct SceneLine {
    char *text;  // owned, NUL-terminated, ends with '\n'
    SceneLine *prev;
    SceneLine *next;
    uint8_t kind;          // valid after the latest classifyLines
    int32_t objectNumber;  // 1, 2, ... for object lines in document order; else 0
};

struct SceneDocument {
    SceneLine *first;
    SceneLine *last;
};

// One key of an object's motion. The module always writes linear, tension,
// continuity and bias as 0.
struct MotionKey {
    double x, y, z;
    double heading, pitch, bank;  // degrees
    double scaleX, scaleY, scaleZ;
    int32_t frame;
    uint8_t linear;
    int32_t tension, continuity, bias;
};

// The starting value of every key the baking writes.
inline constexpr MotionKey kDefaultMotionKey{0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0, 1.0, 1.0, 1, 0, 0, 0, 0};

// The 76 lines of the default scene, classified; null when memory runs out.
// Release with releaseScene.
SceneDocument *createDefaultScene();

// Frees the document, its lines and their texts. Null is allowed.
void releaseScene(SceneDocument *document);

// Owns a document for one scope.
struct SceneReleaser {
    void operator()(SceneDocument *document) const { releaseScene(document); }
};
using ScenePtr = std::unique_ptr<SceneDocument, SceneReleaser>;

// Sets the kind of every line and numbers the object lines 1, 2, 3, ...
void classifyLines(SceneDocument &document);

// A new unlinked line owning a copy of `text`; null when memory runs out or
// the text is longer than 255 characters. Free with freeLine unless inserted.
SceneLine *newLine(const char *text);
void freeLine(SceneLine *line);

// Links `line` directly after `after`; `last` follows when `after` was last.
void insertLineAfter(SceneDocument &document, SceneLine &after, SceneLine &line);

// The line four lines before the first light line, where object blocks are
// inserted (the empty line after "FramesPerSecond" in a fresh document);
// null when there is no light line. Relies on the latest classification.
SceneLine *objectAnchor(SceneDocument &document);

}  // namespace plof
