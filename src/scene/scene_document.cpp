#include "scene/scene_document.h"

#include <cstring>
#include <new>

#include "base/number_format.h"
#include "scene/scene_line_text.h"
#include "scene/scene_templates.h"

namespace plof {

namespace {

bool beginsWith(const char *text, const char *keyword) {
    return std::strncmp(text, keyword, std::strlen(keyword)) == 0;
}

uint8_t kindOf(const char *text) {
    if (beginsWith(text, "LWSC")) return kHeaderLine;
    if (beginsWith(text, "AddNullObject") || beginsWith(text, "LoadObject")) return kObjectLine;
    if (beginsWith(text, "AddLight")) return kLightLine;
    if (beginsWith(text, "ShowCamera")) return kCameraLine;
    if (beginsWith(text, "SolidBackdrop")) return kBackdropLine;
    if (beginsWith(text, "RenderMode")) return kRenderLine;
    if (beginsWith(text, "ViewMode")) return kViewLine;
    return kOtherLine;
}

char *copyText(const char *text) {
    const std::size_t length = std::strlen(text);
    char *copy = new (std::nothrow) char[length + 1];
    if (copy != nullptr) std::memcpy(copy, text, length + 1);
    return copy;
}

}  // namespace

SceneLine *newLine(const char *text) {
    if (std::strlen(text) >= kLineBufferSize) return nullptr;
    char *copy = copyText(text);
    if (copy == nullptr) return nullptr;
    SceneLine *line = new (std::nothrow) SceneLine{copy, nullptr, nullptr, kOtherLine, 0};
    if (line == nullptr) delete[] copy;
    return line;
}

void freeLine(SceneLine *line) {
    if (line == nullptr) return;
    delete[] line->text;
    delete line;
}

SceneDocument *createDefaultScene() {
    SceneDocument *document = new (std::nothrow) SceneDocument{nullptr, nullptr};
    if (document == nullptr) return nullptr;
    for (const char *row : kDefaultSceneRows) {
        LineBuffer text;
        SceneLine *line = composeNamedLine(text, row, "") < 0 ? nullptr : newLine(text.data());
        if (line == nullptr) {
            releaseScene(document);
            return nullptr;
        }
        if (document->last == nullptr) {
            document->first = line;
        } else {
            document->last->next = line;
            line->prev = document->last;
        }
        document->last = line;
    }
    classifyLines(*document);
    return document;
}

void releaseScene(SceneDocument *document) {
    if (document == nullptr) return;
    SceneLine *line = document->first;
    while (line != nullptr) {
        SceneLine *next = line->next;
        freeLine(line);
        line = next;
    }
    delete document;
}

void classifyLines(SceneDocument &document) {
    int32_t objectCount = 0;
    for (SceneLine *line = document.first; line != nullptr; line = line->next) {
        line->kind = kindOf(line->text);
        // A document cannot hold 2^31 lines, so the count never overflows.
        line->objectNumber = line->kind == kObjectLine ? ++objectCount : 0;
    }
}

void insertLineAfter(SceneDocument &document, SceneLine &after, SceneLine &line) {
    line.prev = &after;
    line.next = after.next;
    if (after.next != nullptr) {
        after.next->prev = &line;
    } else {
        document.last = &line;
    }
    after.next = &line;
}

SceneLine *objectAnchor(SceneDocument &document) {
    SceneLine *line = document.first;
    while (line != nullptr && line->kind != kLightLine) line = line->next;
    for (int step = 0; step < 4 && line != nullptr; ++step) line = line->prev;
    return line;
}

}  // namespace plof
