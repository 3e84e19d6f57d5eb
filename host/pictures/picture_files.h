// Writing the host's pictures of an effect: a PNG still and an animated GIF,
// both through OutputFile (a failure leaves the old file as it was). Only in
// builds with cairo and giflib (the *_cairo.cpp files); elsewhere (the 32-bit
// Windows build of the host) picturesAvailable() is false and writing throws
// OutputError saying so.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plof::host {

bool picturesAvailable();

// Writes `rgb` (three bytes per pixel, row by row) as a PNG file. Throws
// OutputError naming the file and the reason.
void writePngPicture(const std::string &path, int width, int height, const std::vector<uint8_t> &rgb);

// An animated GIF that loops forever, written frame by frame. Each frame
// gets its own 256 colours by giflib's median cut, so the same frames give
// the same bytes.
class GifAnimation {
public:
    // Opens `path` for a width x height animation. Throws OutputError.
    GifAnimation(const std::string &path, int width, int height);
    ~GifAnimation();
    GifAnimation(const GifAnimation &) = delete;
    GifAnimation &operator=(const GifAnimation &) = delete;

    // Adds a frame shown for `delay` hundredths of a second. Throws OutputError.
    void addFrame(const std::vector<uint8_t> &rgb, int delay);

    // Ends the file and puts it in place. Throws OutputError.
    void finish();

private:
    struct Encoder;
    std::unique_ptr<Encoder> encoder_;
};

}  // namespace plof::host
