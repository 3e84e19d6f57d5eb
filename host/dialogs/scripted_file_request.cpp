#include "host/dialogs/scripted_file_request.h"

#include "host/service_registry.h"

#include <cstdio>

namespace plof::host {

namespace {

FileDialogAnswerer *gAnswerer = nullptr;
ChosenFileObserver gObserver = nullptr;

int32_t request(const char *title, char *name, char *path, char *resultBuffer, int32_t size) {
    if (!gAnswerer || !resultBuffer || size <= 0) return 0;
    // A person sees where the dialog opens and what it offers; the script's
    // writer learns it here (and tests see the paths the module formed).
    std::fprintf(stderr, "plof-host: file dialog \"%s\" opens in \"%s\" offering \"%s\"\n", title ? title : "",
                 path ? path : "", name ? name : "");
    const int32_t chosen = gAnswerer->answerFileDialog(title ? title : "", resultBuffer, size);
    if (chosen > 0 && gObserver) gObserver(title ? title : "", resultBuffer);
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

}  // namespace plof::host
