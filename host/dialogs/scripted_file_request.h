// The stand-in host's "File Request": instead of showing a dialog it asks the
// FileDialogAnswerer of the installed context (host/base/host_context.h; the
// panel script runner), which answers each dialog in order from the script.
//
// provideScriptedFileRequest() offers the record under "File Request",
// replacing whatever was offered before (the host core's default).
//
// As a real dialog does, it returns a chosen file's full path
// (dialogResultPath). A save dialog (the module offers a name beginning
// with '>', a load dialog one beginning with '<') that returns a file tells
// the context's WrittenFileCheck, so that a file the module then fails to
// write is noticed; every file returned is told to its ChosenFileObserver.
#pragma once

#include "plof/host_services.h"

#include <cstdint>
#include <string>

namespace plof::host {

class FileDialogAnswerer {
public:
    virtual ~FileDialogAnswerer() = default;
    // Answers the dialog titled `title` that offers the file name `offered`
    // (">NAME.plf" to save, "<NAME.plf" to load, "<*.lwo" to pick files for
    // a list): writes the chosen full path into `result` (at most `size`
    // bytes, NUL included) and returns 1, or returns 0 when the dialog is
    // cancelled. Called from inside the module: must not throw. Without an
    // answerer in the context every dialog is cancelled.
    virtual int32_t answerFileDialog(const char *title, const char *offered, char *result, int32_t size) = 0;
};

class ChosenFileObserver {
public:
    virtual ~ChosenFileObserver() = default;
    // Told the title of every dialog answered with a file and the path
    // chosen, before the module gets it. Must not throw.
    virtual void fileChosen(const char *title, const char *path) noexcept = 0;
};

PlofFileRequest &scriptedFileRequest();
void provideScriptedFileRequest();

// The path a dialog returns for `chosen` as the person typed it: absolute
// and normalised ("../a.lwo" typed in /work/x gives /work/a.lwo), with the
// platform's separators.
std::string dialogResultPath(const std::string &chosen);

}  // namespace plof::host
