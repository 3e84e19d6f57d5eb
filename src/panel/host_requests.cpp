#include "panel/host_requests.h"

#include "base/path_text.h"
#include "instance/module_state.h"

namespace plof {

void showError(const char *first, const char *second) {
    const PlofMessages *messages = moduleState().messages;
    if (messages != nullptr) messages->error(first, second);
}

const char *hostDirectory(const char *kind) {
    const PlofDirectoryInfo *info = moduleState().directoryInfo;
    const char *directory = info != nullptr ? info->directory(kind) : nullptr;
    return directory != nullptr ? directory : "";
}

bool requestFile(const char *title, const char *name, const char *directory, LineBuffer &result) {
    const PlofFileRequest *request = moduleState().fileRequest;
    if (request == nullptr) return false;
    LineBuffer nameBuffer{};
    LineBuffer pathBuffer{};
    copyBounded(nameBuffer.data(), nameBuffer.size(), name);
    copyBounded(pathBuffer.data(), pathBuffer.size(), directory);
    result[0] = '\0';
    const int32_t chosen = request->request(title, nameBuffer.data(), pathBuffer.data(), result.data(),
                                            static_cast<int32_t>(result.size()));
    // A host that fills the whole buffer must not leave us an endless text.
    result.back() = '\0';
    return chosen > 0;
}

}  // namespace plof
