// The scene document's editing operations that only the tests use: the
// particle blocks built the slow way, one key at a time, exactly as the bake
// is defined. The module writes the same bytes straight from its samples
// (BakedObjects); the scene suites hold it to these operations.
//
// Every operation searches afresh from the line it is given. Texts that
// would not fit a 256-byte line are refused, not cut, and every operation
// allocates what it needs before it changes anything, so a refusal or a
// failed allocation leaves the document as it was.
#pragma once

#include <cstdint>

#include "scene/scene_document.h"

namespace plof {

// What an editing operation did. `unchanged` covers a missing line the
// operation needs, a line without the space it edits after, and a text that
// would not fit a line buffer; the document is then as it was.
enum class SceneEdit : uint8_t { done, unchanged, outOfMemory };

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

// A particle's object block ("LoadObject <fileName>"), as insertObjectBlock.
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

// Writes every line with CR LF line ends through the module's scene file
// writer (written beside `path` and renamed over it only when complete).
// False when nothing was written.
bool writeScene(const SceneDocument &document, const char *path);

}  // namespace plof
