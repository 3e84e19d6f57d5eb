// The new lines of one editing operation, made before the document is
// touched: if any allocation fails, the batch frees what it made and the
// operation leaves the document unchanged. Used only by the document's own
// editing operations.
#pragma once

#include <array>
#include <cstddef>

#include "scene/scene_document.h"

namespace plof {

template <std::size_t Capacity>
class SceneLineBatch {
public:
    SceneLineBatch() = default;
    SceneLineBatch(const SceneLineBatch &) = delete;
    SceneLineBatch &operator=(const SceneLineBatch &) = delete;
    ~SceneLineBatch() {
        for (std::size_t i = 0; i < count_; ++i) freeLine(lines_[i]);
    }

    // Makes the next line from `text`; false when it could not be made.
    bool add(const char *text) {
        if (count_ == Capacity) return false;
        SceneLine *line = newLine(text);
        if (line == nullptr) return false;
        lines_[count_++] = line;
        return true;
    }

    // Links the lines, in the order they were made, one after the other
    // directly after `after`; the document owns them from then on. Returns
    // the last line linked.
    SceneLine &insertAfter(SceneDocument &document, SceneLine &after) {
        SceneLine *previous = &after;
        for (std::size_t i = 0; i < count_; ++i) {
            insertLineAfter(document, *previous, *lines_[i]);
            previous = lines_[i];
        }
        count_ = 0;
        return *previous;
    }

    SceneLine &operator[](std::size_t i) { return *lines_[i]; }

private:
    std::array<SceneLine *, Capacity> lines_{};
    std::size_t count_ = 0;
};

}  // namespace plof
