// Writes a scene file through the module's safe file writer: beside the
// target under a temporary name, renamed over it only once all of it was
// written (through a symbolic link to the file it names; straight into a
// device or FIFO), so a scene that cannot be written leaves any existing
// file at that path untouched and no half-written file behind.
//
// Lines are given with their line feed and written with CR LF line ends, as
// bytes (never through a text-mode stream), so the file is the same on every
// platform. Used by the baked-scene writer; one writer writes one file and is
// not reused.
#pragma once

#include <cstddef>
#include <memory>

#include "file/safe_file_writer.h"

namespace plof {

class SceneFileWriter {
public:
    // Opens the file; check isOpen().
    explicit SceneFileWriter(const char *path);
    SceneFileWriter(const SceneFileWriter &) = delete;
    SceneFileWriter &operator=(const SceneFileWriter &) = delete;

    bool isOpen() const { return buffer_ != nullptr && output_.stream() != nullptr; }

    // Writes `length` bytes of text, each line feed as CR LF.
    void writeText(const char *text, std::size_t length);

    // Finishes the file and puts it in place. False when anything failed;
    // the target is then untouched and no temporary file is left.
    bool commit();

private:
    void put(const char *bytes, std::size_t length);
    void flushBuffer();

    static constexpr std::size_t kBufferSize = std::size_t{1} << 20;

    std::unique_ptr<char[]> buffer_;  // allocated before the file is opened
    SafeFileWriter output_;
    std::size_t used_ = 0;
    bool failed_ = false;
};

}  // namespace plof
