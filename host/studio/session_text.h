// The studio session's documents written down as JSON text and read back:
// its history (the start, every step, the step shown), the document last
// saved and the revision. A front that cannot keep one session alive (the
// page in the browser, which plays every change in a new instance of the
// WebAssembly program and keeps its work across reloads) writes the text
// after each answer and hands it to the next session
// (StudioSession's restoring constructor). The text holds no points and no
// scene: it is read against the scene the session was opened with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "host/studio/studio_document.h"
#include "host/studio/studio_history.h"

namespace plof::host::studio {

struct SessionDocuments {
    StudioHistory history;
    StudioDocument saved;
    uint64_t revision = 0;
};

std::string sessionText(const SessionDocuments &documents);

// The documents of `text`, each of `itemCount` items (the scene's). Throws
// InputError saying what is wrong for a text that is not one sessionText
// wrote for such a scene.
SessionDocuments readSessionText(const std::string &text, std::size_t itemCount);

}  // namespace plof::host::studio
