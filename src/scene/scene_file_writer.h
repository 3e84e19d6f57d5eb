// Writes a scene file safely: the text goes to a temporary file beside the
// target and replaces the target only once all of it was written, so a scene
// that cannot be written leaves any existing file at that path untouched and
// no half-written file behind.
//
// Lines are given with their line feed and written with CR LF line ends, as
// bytes (never through a text-mode stream), so the file is the same on every
// platform. Used by the baked-scene writer; one writer
// writes one file and is not reused.
#pragma once

#include <array>
#include <cstddef>
#include <cstdio>
#include <memory>

namespace plof {

class SceneFileWriter {
public:
    // Opens the temporary file; check isOpen(). `path` must stay valid.
    explicit SceneFileWriter(const char *path);
    SceneFileWriter(const SceneFileWriter &) = delete;
    SceneFileWriter &operator=(const SceneFileWriter &) = delete;
    // Removes the temporary file unless commit() succeeded.
    ~SceneFileWriter();

    bool isOpen() const { return file_ != nullptr; }

    // Writes `length` bytes of text, each line feed as CR LF.
    void writeText(const char *text, std::size_t length);

    // Finishes the file and renames it over the target. False when anything
    // failed; the target is then untouched and the temporary file removed.
    bool commit();

private:
    void put(const char *bytes, std::size_t length);
    void flushBuffer();
    void discard();

    static constexpr std::size_t kBufferSize = std::size_t{1} << 20;
    static constexpr std::size_t kTempNameSize = 300;

    const char *path_;
    std::array<char, kTempNameSize> tempName_{};
    std::FILE *file_ = nullptr;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    bool failed_ = false;
};

}  // namespace plof
