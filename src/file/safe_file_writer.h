// Writes one file by the rule every file of the project follows, the
// module's and the stand-in host's alike, so that a failure never leaves a
// damaged file behind:
//
// - the target absent or a regular file: the bytes go to a new temporary
//   file beside it, created exclusively under a hidden name no one can guess
//   (temporaryPath), which commit() syncs to the disk, closes and renames
//   over the target; the target's permissions are kept; on any failure the
//   target is as it was and the temporary file is removed;
// - the target a symbolic link: the same, applied to the file the link (or
//   chain of up to 40 links) resolves to; the link stays a link;
// - the target a device, FIFO or other file that is neither regular nor a
//   directory: written directly, with no temporary file and no rename (a
//   rename would put a regular file in the device's place).
//
// A directory in the target's place, a chain of links that does not end,
// an empty path or a temporary file that cannot be created leave stream()
// null, with failedStep() and reason() saying why. Nothing here throws. The
// caller writes through stream() with the C stream functions; a writer
// writes one file and is not reused. An interrupted program leaves its
// temporary file, which its host removes by name (temporaryNamePrefix).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <system_error>

namespace plof {

class SafeFileWriter {
public:
    // text: the platform's line ends (CR LF on Windows); binary: bytes as given.
    enum class Mode : uint8_t { text, binary };
    // Where a failure happened: the target itself (empty, a directory), its
    // links, opening a device, creating the temporary file, writing (the
    // flush, the sync or the close), or the rename.
    enum class Step : uint8_t { none, target, links, device, temporary, write, rename };

    // Opens the temporary file (or the device) for `path`; check stream().
    SafeFileWriter(const char *path, Mode mode) noexcept;
    SafeFileWriter(const SafeFileWriter &) = delete;
    SafeFileWriter &operator=(const SafeFileWriter &) = delete;
    // Removes the temporary file unless commit() succeeded.
    ~SafeFileWriter();

    // The open stream, or null when nothing could be opened or it is closed.
    std::FILE *stream() const { return file_; }

    // Flushes and closes the stream, a temporary file synced to the disk
    // first, without putting it in place yet. False when a write, the flush,
    // the sync or the close failed; the temporary file is then removed.
    bool close() noexcept;

    // Closes (unless close() did) and, for a regular target, renames the
    // temporary file over it. False when anything failed; the target is
    // then untouched and no temporary file is left.
    bool commit() noexcept;

    Step failedStep() const { return failedStep_; }
    const std::error_code &reason() const { return reason_; }

    // The temporary file being written, or empty (written directly, or done).
    const std::string &temporary() const { return temporary_; }

private:
    void open(const char *path, Mode mode);
    bool fail(Step step, std::error_code reason) noexcept;
    void discard() noexcept;

    std::FILE *file_ = nullptr;
    std::string target_;     // the file replaced: the path, or what its links resolve to
    std::string temporary_;  // empty when writing straight into a device or FIFO
    bool closed_ = false;
    Step failedStep_ = Step::none;
    std::error_code reason_;
};

// The file `path` names once every link is followed (up to 40), as the
// writer replaces it; a link to a file not there yet resolves to that file.
// False with `error` set for a link that cannot be read or a chain that does
// not end.
bool followLinks(const std::string &path, std::string &resolved, std::error_code &error);

// The start of the path of every temporary file this process writes for
// `target` (as followLinks gives it): ".NAME.tmp-<process id>-" beside it. A
// program that is interrupted removes the files it finds under it.
std::string temporaryNamePrefix(const std::string &target);

// A new, unguessable temporary path for `target`: the prefix, then a random number.
std::string temporaryPath(const std::string &target);

// Flushes and closes `file`, after asking the system to put its bytes on the
// disk when `sync`; false with `error` set when a write failed before or any
// of these fails. The stream is closed either way.
bool closeWritten(std::FILE *file, bool sync, std::error_code &error) noexcept;

}  // namespace plof
