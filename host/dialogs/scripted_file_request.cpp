#include "host/dialogs/scripted_file_request.h"

#include "host/base/host_context.h"
#include "host/files/written_file_check.h"
#include "host/module/service_registry.h"

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace plof::host {

namespace {

// The file a save dialog's answer names: the module completes a name that
// lacks the file type it offered (">setting.plf") with that type.
std::string savedFile(std::string_view offered, std::string path) {
    const auto dot = offered.rfind('.');
    if (dot == std::string_view::npos) return path;
    const std::string_view type = offered.substr(dot);
    if (!std::string_view(path).ends_with(type)) path += type;
    return path;
}

int32_t request(const char *title, char *name, char *path, char *resultBuffer, int32_t size) {
    const HostContext *context = hostContext();
    FileDialogAnswerer *answerer = context ? context->fileDialogs : nullptr;
    if (!answerer || !resultBuffer || size <= 0) return 0;
    // A person sees where the dialog opens and what it offers; the script's
    // writer learns it here (and tests see the paths the module formed).
    std::fprintf(stderr, "plof-host: file dialog \"%s\" opens in \"%s\" offering \"%s\"\n", title ? title : "",
                 path ? path : "", name ? name : "");
    const int32_t chosen = answerer->answerFileDialog(title ? title : "", name ? name : "", resultBuffer, size);
    if (chosen <= 0) return chosen;
    // Allocation may fail here, inside a call from the module: the answer
    // stands, only the host's note of the file to check is lost.
    try {
        WrittenFileCheck *check = context->writtenFiles;
        if (check && name && name[0] == '>') check->expectFile(savedFile(name + 1, resultBuffer));
    } catch (...) {
    }
    if (context->chosenFiles) context->chosenFiles->fileChosen(title ? title : "", resultBuffer);
    return chosen;
}

}  // namespace

PlofFileRequest &scriptedFileRequest() {
    static PlofFileRequest record{&request};
    return record;
}

void provideScriptedFileRequest() { provideService(PLOF_SERVICE_FILE_REQUEST, &scriptedFileRequest()); }

std::string dialogResultPath(const std::string &chosen) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(chosen, error);
    if (error) return chosen;
    return absolute.lexically_normal().make_preferred().string();
}

}  // namespace plof::host
