#include "panel/object_file_list.h"

#include <cstring>

#include "base/path_text.h"
#include "instance/handler_instance.h"
#include "instance/keyword_line.h"
#include "panel/host_requests.h"
#include "panel/options_panel.h"

namespace plof {

void addObjectFile(PlofControl, void *userData) {
    OptionsPanelContext &context = *static_cast<OptionsPanelContext *>(userData);
    auto *list = static_cast<ObjectList *>(context.services->userData);
    LineBuffer chosen{};
    if (!requestFile("Load Object", "<*.lwo", context.objectsDir.data(), chosen)) return;
    if (endsWith(chosen.data(), ".lwo") == 0) {
        showError("Can't open .lwo file");
        return;
    }
    directoryOf(chosen.data(), context.objectsDir.data(), context.objectsDir.size());
    if (std::strcmp(list->names[0].data(), "none") == 0) {
        copyBounded(list->names[0].data(), list->names[0].size(), chosen.data());
        return;
    }
    if (list->count >= kObjectListMaxCount) {
        showError("Object List is Full!");
        return;
    }
    ++list->count;
    LineBuffer &entry = list->names[static_cast<std::size_t>(list->count - 1)];
    copyBounded(entry.data(), entry.size(), chosen.data());
}

void directoryOf(const char *path, char *result, std::size_t capacity) {
    const std::size_t length = std::strlen(path);
    if (length == 0) {
        result[0] = '\0';
        return;
    }
    std::size_t i = length - 1;
    while (i > 0 && path[i] != kPathSeparator) --i;
    std::size_t count = i + 1;
    if (count > capacity - 1) count = capacity - 1;
    std::memmove(result, path, count);
    result[count] = '\0';
}

}  // namespace plof
