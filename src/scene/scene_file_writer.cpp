#include "scene/scene_file_writer.h"

#include <cstring>
#include <new>

namespace plof {

SceneFileWriter::SceneFileWriter(const char *path)
    : buffer_(new (std::nothrow) char[kBufferSize]),
      // Without a buffer nothing is opened, so nothing is left to remove.
      output_(buffer_ != nullptr ? path : nullptr, SafeFileWriter::Mode::binary) {}

void SceneFileWriter::writeText(const char *text, std::size_t length) {
    while (length > 0) {
        const char *feed = static_cast<const char *>(std::memchr(text, '\n', length));
        if (feed == nullptr) {
            put(text, length);
            return;
        }
        const std::size_t before = static_cast<std::size_t>(feed - text);
        put(text, before);
        put("\r\n", 2);
        text += before + 1;
        length -= before + 1;
    }
}

void SceneFileWriter::put(const char *bytes, std::size_t length) {
    if (!isOpen() || failed_) return;
    if (used_ + length > kBufferSize) {
        flushBuffer();
        if (length > kBufferSize) {
            failed_ = std::fwrite(bytes, 1, length, output_.stream()) != length;
            return;
        }
    }
    std::memcpy(buffer_.get() + used_, bytes, length);
    used_ += length;
}

void SceneFileWriter::flushBuffer() {
    if (used_ > 0 && std::fwrite(buffer_.get(), 1, used_, output_.stream()) != used_) failed_ = true;
    used_ = 0;
}

bool SceneFileWriter::commit() {
    if (!isOpen()) return false;
    if (!failed_) flushBuffer();
    // After a failed write the temporary file goes with output_.
    return !failed_ && output_.commit();
}

}  // namespace plof
