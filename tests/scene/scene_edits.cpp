// Line search and the object-level edits of the scene document.
#include "scene_edits.h"

#include <cstring>
#include <new>

#include "base/number_format.h"
#include "scene/scene_line_batch.h"
#include "scene/scene_line_text.h"
#include "scene/scene_objects.h"
#include "scene/scene_templates.h"

namespace plof {

namespace {

bool beginsWith(const char *text, const char *keyword) {
    return std::strncmp(text, keyword, std::strlen(keyword)) == 0;
}

}  // namespace

SceneLine *findLine(SceneLine *start, const char *keyword) { return findLineBefore(start, nullptr, keyword); }

SceneLine *findLineBefore(SceneLine *start, const SceneLine *stop, const char *keyword) {
    for (SceneLine *line = start; line != nullptr && line != stop; line = line->next) {
        if (beginsWith(line->text, keyword)) return line;
    }
    return nullptr;
}

bool textAfterKeyword(const SceneLine &line, LineBuffer &out) {
    const char *space = std::strchr(line.text, ' ');
    if (space == nullptr) return false;
    // Texts are at most 255 characters, so the rest always fits.
    std::memcpy(out.data(), space + 1, std::strlen(space + 1) + 1);
    return true;
}

SceneEdit setLineValue(SceneLine &line, int32_t value) {
    const char *space = std::strchr(line.text, ' ');
    if (space == nullptr) return SceneEdit::unchanged;
    LineBuffer prefix{};
    std::memcpy(prefix.data(), line.text, static_cast<std::size_t>(space - line.text) + 1);
    LineBuffer number;
    LineBuffer text;
    if (formatInteger(number.data(), number.size(), value) < 0 ||
        composeNamedLine(text, prefix.data(), number.data()) < 0) {
        return SceneEdit::unchanged;
    }
    const std::size_t length = std::strlen(text.data());
    char *copy = new (std::nothrow) char[length + 1];
    if (copy == nullptr) return SceneEdit::outOfMemory;
    std::memcpy(copy, text.data(), length + 1);
    delete[] line.text;
    line.text = copy;
    return SceneEdit::done;
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
