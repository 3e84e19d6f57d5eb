// SceneDocument: a host scene (LWSC text) held in memory as a doubly linked
// list of lines, built from the default scene and edited by keyword search.
//
// A scene bake creates one document, inserts object blocks, keys and parent
// lines with the operations below, writes it once and releases it. The
// document owns its lines and each line owns its text. Every text ends with a
// line feed and is at most 255 characters long with it: the operations
// compose texts in 256-byte line buffers and refuse a text that would not fit
// (a file name too long for "LoadObject ", a key whose nine values do not fit
// one line) rather than cut it, leaving the document unchanged. Every editing
// operation allocates what it needs before it changes anything, so a failed
// allocation also leaves the document as it was.
//
// These operations search afresh from the line they are given on every call;
// they are the reference for the scene text. Baking large objects goes through
// BakedObjects (baked_objects.h), which writes the same bytes directly.
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
    char *text;            // owned, NUL-terminated, ends with '\n'
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

// What an editing operation did. `unchanged` covers a missing line the
// operation needs, a line without the space it edits after, and a text that
// would not fit a line buffer; the document is then as it was.
enum class SceneEdit : uint8_t { done, unchanged, outOfMemory };

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

// The first line from `start` (itself included) whose text begins with
// `keyword`, or null. findLineBefore does not examine `stop` or anything after it.
SceneLine *findLine(SceneLine *start, const char *keyword);
SceneLine *findLineBefore(SceneLine *start, const SceneLine *stop, const char *keyword);

// Copies everything after the text's first space, NUL included, into `out`;
// false (and `out` untouched) when the text has no space.
bool textAfterKeyword(const SceneLine &line, LineBuffer &out);

// Keeps the text up to and including its first space and puts `value` and a
// line feed after it. Unchanged when the text has no space.
SceneEdit setLineValue(SceneLine &line, int32_t value);

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

// Insert a ten-line object block directly after `anchor` and reclassify.
// Both return the block's first line, or null when nothing was inserted
// (no memory, or the name too long for the line).
SceneLine *addNullObject(SceneDocument &document, SceneLine &anchor, const char *name);
SceneLine *addLoadedObject(SceneDocument &document, SceneLine &anchor, const char *fileName);

// Gives the object's block one "ParentObject" line, before its
// "ShadowOptions" line; a second call rewrites the same line.
SceneEdit setParentObject(SceneDocument &document, SceneLine &objectLine, int32_t parentNumber);

// Appends a key after the object's last motion key; a key at frame 0 first
// removes the last key (in a fresh block the default key) and sets the count to 1.
SceneEdit addMotionKey(SceneDocument &document, SceneLine &objectLine, const MotionKey &key);

// Appends a key to the object's dissolve envelope. The first key creates the
// envelope after the motion and is always written at frame 0.
SceneEdit addDissolveKey(SceneDocument &document, SceneLine &objectLine, double value, int32_t frame);

// Rewrites the value of the first dissolve key at `frame`; the envelope's
// last key is never examined.
SceneEdit setDissolveKeyValue(SceneLine &objectLine, double value, int32_t frame);

// Writes every line with CR LF line ends. The file is written beside `path`
// under a temporary name and renamed over it only when complete, so a failure
// leaves whatever was at `path` untouched. False when nothing was written.
bool writeScene(const SceneDocument &document, const char *path);

}  // namespace plof
