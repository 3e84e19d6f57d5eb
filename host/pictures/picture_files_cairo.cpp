#include <cairo.h>
#include <gif_lib.h>

#include <algorithm>
#include <cstdlib>

#include "host/base/host_error.h"
#include "host/files/output_file.h"
#include "host/files/png_output.h"
#include "host/pictures/picture_files.h"

namespace plof::host {

namespace {

// The palette index of pixels that keep the previous frame's colour; the
// frame's own colours take the 255 below it.
constexpr int kUnchanged = 255;

int gifWrite(GifFileType *gif, const GifByteType *bytes, int length) {
    auto &file = *static_cast<OutputFile *>(gif->UserData);
    file.write(std::string_view(reinterpret_cast<const char *>(bytes), static_cast<std::size_t>(length)));
    return file.failed() ? 0 : length;
}

std::string gifReason(int error) {
    const char *text = GifErrorString(error);
    return text ? text : "giflib error " + std::to_string(error);
}

}  // namespace

bool picturesAvailable() { return true; }

void writePngPicture(const std::string &path, int width, int height, const std::vector<uint8_t> &rgb) {
    cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        throw OutputError(path + ": cannot make a picture of " + std::to_string(width) + "x" + std::to_string(height) +
                          " pixels");
    }
    cairo_surface_flush(surface);
    unsigned char *data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        auto *row = reinterpret_cast<uint32_t *>(data + static_cast<std::ptrdiff_t>(y) * stride);
        const uint8_t *in = &rgb[3 * static_cast<std::size_t>(y) * width];
        for (int x = 0; x < width; ++x) {
            row[x] = (uint32_t{in[3 * x]} << 16) | (uint32_t{in[3 * x + 1]} << 8) | in[3 * x + 2];
        }
    }
    cairo_surface_mark_dirty(surface);
    try {
        writePngFile(surface, path);
    } catch (...) {
        cairo_surface_destroy(surface);
        throw;
    }
    cairo_surface_destroy(surface);
}

struct GifAnimation::Encoder {
    OutputFile file;
    GifFileType *gif = nullptr;
    int width;
    int height;
    std::vector<uint8_t> previous;  // the last frame's pixels

    Encoder(const std::string &path, int w, int h) : file(path), width(w), height(h) {}
    ~Encoder() {
        if (gif) {
            int error = 0;
            EGifCloseFile(gif, &error);
        }
    }
    [[noreturn]] void fail(const std::string &what) {
        // A write failure is the file's to report, with the system's reason.
        if (file.failed()) file.commit();
        throw OutputError(file.path() + ": cannot write the animation (" + what + ")");
    }
};

GifAnimation::GifAnimation(const std::string &path, int width, int height)
    : encoder_(std::make_unique<Encoder>(path, width, height)) {
    Encoder &e = *encoder_;
    int error = 0;
    e.gif = EGifOpen(&e.file, &gifWrite, &error);
    if (!e.gif) e.fail(gifReason(error));
    EGifSetGifVersion(e.gif, true);
    // Each frame brings its own palette (local colour map).
    const int status = EGifPutScreenDesc(e.gif, width, height, 8, 0, nullptr);
    if (status != GIF_OK) e.fail(gifReason(e.gif->Error));
    // Loop forever (the NETSCAPE2.0 application extension, count 0).
    const GifByteType loop[] = {1, 0, 0};
    if (EGifPutExtensionLeader(e.gif, APPLICATION_EXT_FUNC_CODE) != GIF_OK ||
        EGifPutExtensionBlock(e.gif, 11, "NETSCAPE2.0") != GIF_OK || EGifPutExtensionBlock(e.gif, 3, loop) != GIF_OK ||
        EGifPutExtensionTrailer(e.gif) != GIF_OK) {
        e.fail(gifReason(e.gif->Error));
    }
}

GifAnimation::~GifAnimation() = default;

void GifAnimation::addFrame(const std::vector<uint8_t> &rgb, int delay) {
    Encoder &e = *encoder_;
    // After the first frame, pixels that did not change are transparent and
    // the frame is laid over the one before: long runs that pack small.
    const bool overlay = e.previous.size() == rgb.size();
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = delay;
    control.TransparentColor = overlay ? kUnchanged : NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    // giflib's median cut picks each frame's 256 colours, the same for the same pixels.
    const std::size_t count = static_cast<std::size_t>(e.width) * e.height;
    std::vector<GifByteType> red(count), green(count), blue(count), indices(count);
    for (std::size_t i = 0; i < count; ++i) {
        red[i] = rgb[3 * i];
        green[i] = rgb[3 * i + 1];
        blue[i] = rgb[3 * i + 2];
    }
    ColorMapObject *palette = GifMakeMapObject(256, nullptr);
    if (!palette) e.fail("no memory for a palette");
    int colours = kUnchanged;
    if (GifQuantizeBuffer(static_cast<unsigned>(e.width), static_cast<unsigned>(e.height), &colours, red.data(),
                          green.data(), blue.data(), indices.data(), palette->Colors) != GIF_OK) {
        GifFreeMapObject(palette);
        e.fail("cannot choose the frame's colours");
    }
    const bool written = EGifPutExtension(e.gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK &&
                         EGifPutImageDesc(e.gif, 0, 0, e.width, e.height, false, palette) == GIF_OK;
    GifFreeMapObject(palette);
    if (!written) e.fail(gifReason(e.gif->Error));
    if (overlay) {
        for (std::size_t i = 0; i < count; ++i) {
            if (rgb[3 * i] == e.previous[3 * i] && rgb[3 * i + 1] == e.previous[3 * i + 1] &&
                rgb[3 * i + 2] == e.previous[3 * i + 2]) {
                indices[i] = kUnchanged;
            }
        }
    }
    e.previous = rgb;
    for (int y = 0; y < e.height; ++y) {
        if (EGifPutLine(e.gif, &indices[static_cast<std::size_t>(y) * e.width], e.width) != GIF_OK) {
            e.fail(gifReason(e.gif->Error));
        }
    }
}

void GifAnimation::finish() {
    Encoder &e = *encoder_;
    int error = 0;
    const int status = EGifCloseFile(e.gif, &error);
    e.gif = nullptr;
    if (status != GIF_OK) e.fail(gifReason(error));
    e.file.commit();
}

}  // namespace plof::host
