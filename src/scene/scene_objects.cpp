// Object blocks and their parent line.
#include <array>

#include "scene/scene_document.h"
#include "scene/scene_line_batch.h"
#include "scene/scene_line_text.h"
#include "scene/scene_templates.h"

namespace plof {

namespace {

SceneLine *insertObjectBlock(SceneDocument &document, SceneLine &anchor,
                             const std::array<const char *, kObjectBlockRowCount> &rows,
                             const char *name) {
    SceneLineBatch<kObjectBlockRowCount> block;
    LineBuffer text;
    if (composeNamedLine(text, rows[0], name) < 0 || !block.add(text.data())) return nullptr;
    for (std::size_t row = 1; row < rows.size(); ++row) {
        if (composeNamedLine(text, rows[row], "") < 0 || !block.add(text.data())) return nullptr;
    }
    SceneLine &first = block[0];
    block.insertAfter(document, anchor);
    classifyLines(document);
    return &first;
}

}  // namespace

SceneLine *addNullObject(SceneDocument &document, SceneLine &anchor, const char *name) {
    return insertObjectBlock(document, anchor, kNullObjectRows, name);
}

SceneLine *addLoadedObject(SceneDocument &document, SceneLine &anchor, const char *fileName) {
    return insertObjectBlock(document, anchor, kLoadedObjectRows, fileName);
}

SceneEdit setParentObject(SceneDocument &document, SceneLine &objectLine, int32_t parentNumber) {
    SceneLine *end = findLine(&objectLine, "ShadowOptions");
    if (end == nullptr || end->prev == nullptr) return SceneEdit::unchanged;
    SceneLine *parent = findLineBefore(&objectLine, end, "ParentObject");
    if (parent != nullptr) return setLineValue(*parent, parentNumber);
    SceneLineBatch<1> line;
    LineBuffer text;
    if (composeParentLine(text, parentNumber) < 0) return SceneEdit::unchanged;
    if (!line.add(text.data())) return SceneEdit::outOfMemory;
    line.insertAfter(document, *end->prev);
    return SceneEdit::done;
}

}  // namespace plof
