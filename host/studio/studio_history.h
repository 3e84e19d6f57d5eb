// The studio's history of changes: the documents played, one per change
// kept (settings, object, motion, range), and where undo and redo stand.
// A change after an undo drops the steps that redo would have taken; past
// kMostSteps the oldest step is dropped. The document the studio started
// with is kept apart, so that a revert can go back to it however long the
// history grew; a revert is a step like any change. Plain data: a copy is
// the whole history.
#pragma once

#include <cstddef>
#include <vector>

#include "host/studio/studio_document.h"

namespace plof::host::studio {

class StudioHistory {
public:
    static constexpr std::size_t kMostSteps = 200;

    explicit StudioHistory(StudioDocument start = {});
    // A history as steps() and at() gave it (session_text.h reads it back);
    // throws std::invalid_argument when `at` is no step.
    StudioHistory(StudioDocument start, std::vector<StudioDocument> steps, std::size_t at);

    const StudioDocument &current() const { return steps_[at_]; }
    const StudioDocument &start() const { return start_; }

    // How many steps undo and redo can take.
    std::size_t undoable() const { return at_; }
    std::size_t redoable() const { return steps_.size() - 1 - at_; }

    // The document undo or redo would show; canUndo / canRedo first.
    const StudioDocument &previous() const { return steps_[at_ - 1]; }
    const StudioDocument &next() const { return steps_[at_ + 1]; }

    // Every step kept, oldest first, and the index of the one shown.
    const std::vector<StudioDocument> &steps() const { return steps_; }
    std::size_t at() const { return at_; }

    void push(StudioDocument document);
    void undo() { --at_; }
    void redo() { ++at_; }

private:
    StudioDocument start_;
    std::vector<StudioDocument> steps_;  // steps_[at_] is shown
    std::size_t at_ = 0;
};

}  // namespace plof::host::studio
