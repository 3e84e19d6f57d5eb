// A folder whose files are written by construction inside it, never outside:
// the studio's saves (OutputFile's confined mode, output_file.h). The folder
// is opened once, as a handle, so a link given as its path is followed then
// and never again; every name is looked up in that handle, never through a
// link. Files are made first in a private work folder inside it (mode 0700,
// named .plof-studio-TOKEN), created exclusively and without following
// links, then moved into place under their name in one rename, which keeps an
// existing file unless asked to replace it. A symbolic link, FIFO, device,
// socket or directory under a save's name is refused, never opened.
//
// A writer that takes only a path (the module) gets a path into the work
// folder that no renaming of the folders above can redirect
// (folder_handle_path.h): through the handle itself on Linux
// (/proc/self/fd/N/NAME), by its own path in a page's in-memory files, which
// no other program shares. POSIX only: the studio, its one user, is not
// built for Windows, where opening a folder fails.
#pragma once

#include <atomic>
#include <cstdio>
#include <string>
#include <system_error>

#include "host/base/host_error.h"

namespace plof::host {

// Whether a save may replace a file already there under its name.
enum class Placement { keepExisting, replaceExisting };

// A file is there under the name and the save may not replace it; nothing
// was written.
class ExistingFile : public OutputError {
public:
    ExistingFile(const std::string &message, std::string name) : OutputError(message), name_(std::move(name)) {}
    const std::string &name() const { return name_; }

private:
    std::string name_;
};

// Something that is not a plain file (a link, FIFO, device, socket or
// directory) is under the name: refused without opening it.
class RefusedTarget : public RequestError {
public:
    using RequestError::RequestError;
};

class ConfinedFolder {
public:
    // Opens the folder at `path` and makes its work folder. Throws
    // OutputError when the folder cannot be opened; a work folder that cannot
    // be made (a read-only folder) fails each save instead, with the reason.
    explicit ConfinedFolder(const std::string &path);
    // Removes the work folder and what is left in it.
    ~ConfinedFolder();
    ConfinedFolder(const ConfinedFolder &) = delete;
    ConfinedFolder &operator=(const ConfinedFolder &) = delete;

    // The folder's absolute path as it was opened, for messages and answers.
    const std::string &path() const { return path_; }

    // Throws RefusedTarget when `name` is not a plain file or absent, and
    // ExistingFile when it is a file and `placement` keeps it.
    void checkTarget(const std::string &name, Placement placement) const;

    // A path to `name` in the work folder for a writer that takes paths.
    // Throws OutputError when there is no work folder.
    std::string workPath(const std::string &name) const;
    // Creates `name` in the work folder for writing, exclusively and never
    // through a link; null with `error` set on failure. Throws OutputError
    // when there is no work folder.
    std::FILE *createWorkFile(const std::string &name, std::error_code &error) const;
    // Removes `name` from the work folder, if it is there.
    void removeWorkFile(const std::string &name) const noexcept;
    // Moves `workName` of the work folder to `name` in the folder in one
    // rename, never into or through a link. With keepExisting a file of that
    // name is kept and ExistingFile thrown, with no moment at which a check
    // and the move disagree. Throws RefusedTarget or OutputError otherwise.
    void place(const std::string &workName, const std::string &name, Placement placement) const;

    // Removes every file of the work folder, then the folder; once, from any
    // thread (a stop while the module is still writing into it).
    void removeWorkFolder() noexcept;

private:
    [[noreturn]] void failWith(const std::string &name, const std::string &what, std::error_code reason) const;

    std::string path_;
    std::string workName_;     // the work folder's name inside the folder
    std::string workPath_;     // the path a writer that takes only a path reaches it by
    std::string workProblem_;  // why there is no work folder, if there is none
    int folder_ = -1;          // the handle of the folder
    int work_ = -1;            // ... and of the work folder, or -1
    std::atomic<bool> removed_{false};
};

}  // namespace plof::host
