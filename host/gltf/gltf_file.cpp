#include "host/gltf/gltf_file.h"

#include <cstdint>
#include <string>

#include "host/base/host_error.h"
#include "host/gltf/gltf_document.h"

namespace plof::host {

namespace {

// The most bytes of a .glb: its header counts them in 32 bits.
constexpr uint64_t kMostGlbBytes = UINT32_MAX;

// Hands the text or bytes to the file in pieces of about 64 KiB, so that the
// many small pieces of the JSON cost few writes.
class FileSink {
public:
    explicit FileSink(OutputFile &file) : file_(file) {}
    ~FileSink() { flush(); }
    FileSink(const FileSink &) = delete;
    FileSink &operator=(const FileSink &) = delete;

    void put(std::string_view bytes) {
        pending_ += bytes;
        if (pending_.size() >= (1 << 16)) flush();
    }
    void flush() {
        file_.write(pending_);
        pending_.clear();
    }

private:
    OutputFile &file_;
    std::string pending_;
};

void putWord(FileSink &sink, uint32_t word) {
    const char bytes[4] = {static_cast<char>(word), static_cast<char>(word >> 8), static_cast<char>(word >> 16),
                           static_cast<char>(word >> 24)};
    sink.put({bytes, 4});
}

void checkBufferSize(const AnimatedScene &scene) {
    const uint64_t bytes = gltfBufferBytes(scene);
    if (bytes > kMostGltfBufferBytes) {
        throw OutputError("the export needs " + std::to_string(bytes >> 20) +
                          " MiB, more than one glTF buffer holds (2 GiB): export fewer frames or points");
    }
}

// A .glb: header, the JSON chunk (padded with spaces), the binary chunk. The
// JSON is produced twice, once to count its bytes for the header, so that it
// is never held whole.
void writeGlb(const AnimatedScene &scene, OutputFile &out) {
    uint64_t jsonBytes = 0;
    writeGltfJson(
        scene, [&](std::string_view text) { jsonBytes += text.size(); }, false);
    const uint64_t padding = (4 - jsonBytes % 4) % 4;
    const uint64_t bufferBytes = gltfBufferBytes(scene);
    const uint64_t total = 12 + 8 + jsonBytes + padding + 8 + bufferBytes;
    if (total > kMostGlbBytes) {
        throw OutputError(out.path() + ": the export needs " + std::to_string(total >> 20) +
                          " MiB, more than a .glb file holds (4 GiB): export fewer frames or points, or write .gltf");
    }
    FileSink sink(out);
    sink.put("glTF");
    putWord(sink, 2);
    putWord(sink, static_cast<uint32_t>(total));
    putWord(sink, static_cast<uint32_t>(jsonBytes + padding));
    sink.put("JSON");
    writeGltfJson(
        scene, [&](std::string_view text) { sink.put(text); }, false);
    sink.put(std::string_view("   ", static_cast<std::size_t>(padding)));
    putWord(sink, static_cast<uint32_t>(bufferBytes));
    sink.put({"BIN\0", 4});
    writeGltfBuffer(scene, [&](std::string_view bytes) { sink.put(bytes); });
}

}  // namespace

void writeGltf(const AnimatedScene &scene, GltfContainer container, OutputFile &out) {
    checkBufferSize(scene);
    if (container == GltfContainer::binary) {
        writeGlb(scene, out);
        return;
    }
    FileSink sink(out);
    writeGltfJson(
        scene, [&](std::string_view text) { sink.put(text); }, true);
}

}  // namespace plof::host
