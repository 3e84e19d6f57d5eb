#include "host/base/host_error.h"
#include "host/pictures/picture_files.h"

namespace plof::host {

namespace {

[[noreturn]] void unavailable(const std::string &path) {
    throw OutputError(path + ": pictures are not available in this build (it was built without cairo and giflib)");
}

}  // namespace

bool picturesAvailable() { return false; }

void writePngPicture(const std::string &path, int, int, const std::vector<uint8_t> &) { unavailable(path); }

struct GifAnimation::Encoder {};

GifAnimation::GifAnimation(const std::string &path, int, int) { unavailable(path); }
GifAnimation::~GifAnimation() = default;
void GifAnimation::addFrame(const std::vector<uint8_t> &, int) {}
void GifAnimation::finish() {}

}  // namespace plof::host
