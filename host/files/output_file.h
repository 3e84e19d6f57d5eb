// Every file the stand-in host writes (CSV, host scenes, pictures, exports)
// goes through OutputFile, so that a failure never costs the file that was
// there before. It writes by the rule the module's files follow too, with
// the same writer (src/file/safe_file_writer.h): a temporary file beside the
// target, created exclusively under a hidden random name, synced and renamed
// over the target once all of it was written, the target's permissions kept;
// through a symbolic link to the file it resolves to; straight into a
// device or FIFO.
// Any failure throws OutputError naming the target and the system's reason;
// the temporary file is then removed and the target left as it was. An
// interrupting signal removes it too (process_signals.h).
//
// The confined mode, which the studio alone uses, writes a plain name inside
// a ConfinedFolder (confined_folder.h) and never through a link or into a
// device: the temporary is made in the folder's work folder, exclusively and
// without following links, and moved into place under the name in one
// rename, which keeps an existing file unless asked to replace it.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "file/safe_file_writer.h"
#include "host/files/confined_folder.h"
#include "host/files/temporary_files.h"

namespace plof::host {

class OutputFile {
public:
    // Opens the temporary file (or the target itself, when it is not a
    // regular file). Throws OutputError.
    explicit OutputFile(std::string path);
    // The confined mode: `name`, a plain name, inside `folder`, which must
    // outlive the file. Throws RefusedTarget for a name that is not a plain
    // file, ExistingFile for a file that `placement` keeps (here and when
    // committing), OutputError otherwise.
    OutputFile(const ConfinedFolder &folder, std::string name, Placement placement);
    // Removes the temporary file unless commit() succeeded.
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // Appends bytes. A failure is kept and reported by commit(), so that
    // writers that cannot throw (library callbacks) can use it; failed()
    // tells them to stop early.
    void write(std::string_view bytes);
    bool failed() const { return static_cast<bool>(error_); }

    // Flushes and closes the file without putting it in place yet, so that
    // several files can all be written before any replaces its target.
    // Throws OutputError.
    void close();

    // Closes (unless close() did) and puts the file in place. Throws OutputError.
    void commit();

    // The path as given, for messages.
    const std::string &path() const { return path_; }

private:
    [[noreturn]] void fail(const std::string &what, std::error_code reason);
    [[noreturn]] void failWriting();
    void discard();

    std::string path_;
    std::optional<SafeFileWriter> writer_;    // the file and its temporary, but in the confined mode
    const ConfinedFolder *folder_ = nullptr;  // the confined mode's folder, or null
    std::string name_;                        // ... the name in it
    Placement placement_ = Placement::replaceExisting;
    std::string workName_;  // ... and the temporary's name in its work folder
    NotedTemporary noted_;  // the temporary, for an interruption to remove
    std::FILE *file_ = nullptr;
    bool closed_ = false;
    std::error_code error_;
};

// Writes `bytes` to `path` through an OutputFile. Throws OutputError.
void writeOutputFile(const std::string &path, std::string_view bytes);

}  // namespace plof::host
