// Writes one file by the rule every file the module writes follows, so that
// a failure never leaves a damaged file behind:
//
// - the target absent or a regular file: the text goes to a temporary file
//   in the target's directory, which commit() flushes, closes and renames
//   over the target; on any failure the target is as it was and the
//   temporary file is removed;
// - the target a symbolic link: the same, applied to the file the link (or
//   chain of links) resolves to; the link stays a link;
// - the target a device, FIFO or other file that is neither regular nor a
//   directory: written directly, with no temporary file and no rename (a
//   rename would put a regular file in the device's place).
//
// A directory in the target's place, a chain of links that does not end,
// an empty path or a temporary file that cannot be created leave stream()
// null. Nothing here throws. The caller writes through stream() with the C
// stream functions; a writer writes one file and is not reused.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace plof {

class SafeFileWriter {
public:
    // text: the platform's line ends (CR LF on Windows); binary: bytes as given.
    enum class Mode : uint8_t { text, binary };

    // Opens the temporary file (or the device) for `path`; check stream().
    SafeFileWriter(const char *path, Mode mode);
    SafeFileWriter(const SafeFileWriter &) = delete;
    SafeFileWriter &operator=(const SafeFileWriter &) = delete;
    // Removes the temporary file unless commit() succeeded.
    ~SafeFileWriter();

    // The open stream, or null when nothing could be opened.
    std::FILE *stream() const { return file_; }

    // Flushes and closes the stream and, for a regular target, renames the
    // temporary file over it. False when anything failed (a write, the
    // flush, the close or the rename); the target is then untouched and no
    // temporary file is left.
    bool commit();

private:
    void open(const char *path, Mode mode);
    void discard();

    std::FILE *file_ = nullptr;
    std::string target_;     // the file replaced: the path, or what its links resolve to
    std::string temporary_;  // empty when writing straight into a device or FIFO
};

}  // namespace plof
