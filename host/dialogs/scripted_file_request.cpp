#include "host/dialogs/scripted_file_request.h"

#include "host/service_registry.h"

namespace plof::host {

namespace {

FileDialogAnswerer *gAnswerer = nullptr;

int32_t request(const char *title, char *, char *, char *resultBuffer, int32_t size) {
    if (!gAnswerer || !resultBuffer || size <= 0) return 0;
    return gAnswerer->answerFileDialog(title ? title : "", resultBuffer, size);
}

}  // namespace

void setFileDialogAnswerer(FileDialogAnswerer *answerer) { gAnswerer = answerer; }

PlofFileRequest &scriptedFileRequest() {
    static PlofFileRequest record{&request};
    return record;
}

void provideScriptedFileRequest() { provideService(PLOF_SERVICE_FILE_REQUEST, &scriptedFileRequest()); }

}  // namespace plof::host
