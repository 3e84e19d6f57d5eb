#include "scene/scene_objects.h"

#include <array>

#include "scene/scene_document.h"
#include "scene/scene_line_batch.h"
#include "scene/scene_line_text.h"

namespace plof {

SceneLine *insertObjectBlock(SceneDocument &document, SceneLine &anchor,
                             const std::array<const char *, kObjectBlockRowCount> &rows, const char *name) {
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

SceneLine *addNullObject(SceneDocument &document, SceneLine &anchor, const char *name) {
    return insertObjectBlock(document, anchor, kNullObjectRows, name);
}

}  // namespace plof
