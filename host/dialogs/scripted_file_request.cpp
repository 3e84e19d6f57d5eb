#include "host/dialogs/scripted_file_request.h"

#include "host/files/written_file_check.h"
#include "host/module/dialog_answer.h"
#include "host/module/service_registry.h"

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace plof::host {

namespace {

FileDialogAnswerer *gAnswerer = nullptr;
ChosenFileObserver gObserver = nullptr;

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
    setLastDialogAnswer("");
    if (!gAnswerer || !resultBuffer || size <= 0) return 0;
    // A person sees where the dialog opens and what it offers; the script's
    // writer learns it here (and tests see the paths the module formed).
    std::fprintf(stderr, "plof-host: file dialog \"%s\" opens in \"%s\" offering \"%s\"\n", title ? title : "",
                 path ? path : "", name ? name : "");
    const int32_t chosen = gAnswerer->answerFileDialog(title ? title : "", resultBuffer, size);
    if (chosen <= 0) return chosen;
    // Allocation may fail here, inside a call from the module: the answer
    // stands, only the host's own notes are lost.
    try {
        // A dialog for one file is the subject of the module's next message.
        // Files picked for a list (a pattern such as "<*.lwo") are not: the
        // host counts the ones the list refused in one line instead.
        if (!name || std::string_view(name).find('*') == std::string_view::npos) setLastDialogAnswer(resultBuffer);
        WrittenFileCheck *check = writtenFileCheck();
        if (check && name && name[0] == '>') check->expectFile(savedFile(name + 1, resultBuffer));
        if (gObserver) gObserver(title ? title : "", resultBuffer);
    } catch (...) {
        setLastDialogAnswer("");
    }
    return chosen;
}

}  // namespace

void setFileDialogAnswerer(FileDialogAnswerer *answerer) { gAnswerer = answerer; }

void setChosenFileObserver(ChosenFileObserver observer) { gObserver = observer; }

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
