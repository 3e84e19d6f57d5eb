// Object blocks in a scene document: the ten lines of an object, from the
// templates of scene_templates.h, inserted where the document's objects go.
// A bake adds its null object this way; the particle objects are written
// straight from the samples (baked_objects.h).
#pragma once

#include <array>

#include "scene/scene_document.h"
#include "scene/scene_templates.h"

namespace plof {

// Inserts a ten-line object block made from `rows` (scene_templates.h), its
// first row followed by `name`, directly after `anchor` and reclassifies.
// Returns the block's first line, or null when nothing was inserted (no
// memory, or the name too long for the line).
SceneLine *insertObjectBlock(SceneDocument &document, SceneLine &anchor,
                             const std::array<const char *, kObjectBlockRowCount> &rows, const char *name);

// The null object's block ("AddNullObject <name>"), as insertObjectBlock.
SceneLine *addNullObject(SceneDocument &document, SceneLine &anchor, const char *name);

}  // namespace plof
