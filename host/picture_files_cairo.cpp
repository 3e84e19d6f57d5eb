#include <cairo.h>
#include <gif_lib.h>

#include <algorithm>
#include <cstdlib>

#include "host/host_error.h"
#include "host/output_file.h"
#include "host/picture_files.h"
#include "host/png_output.h"

namespace plof::host {

namespace {

constexpr int kCubeLevels = 6;
constexpr int kCubeStep = 51;  // 255 / (kCubeLevels - 1)
constexpr int kCubeColours = kCubeLevels * kCubeLevels * kCubeLevels;
constexpr int kGreys = 256 - kCubeColours;
// Colours whose channels differ by no more than this take the grey ramp,
// which is finer than the cube's greys (dark backgrounds keep their shade).
constexpr int kGreyTolerance = 12;

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
        throw OutputError(path + ": cannot make a picture of " + std::to_string(width) + "x" +
                          std::to_string(height) + " pixels");
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
    std::vector<GifPixelType> line;

    Encoder(const std::string &path, int w, int h) : file(path), width(w), height(h), line(static_cast<std::size_t>(w)) {}
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
    ColorMapObject *palette = GifMakeMapObject(256, nullptr);
    if (!palette) e.fail("no memory for the palette");
    for (int i = 0; i < kCubeColours; ++i) {
        palette->Colors[i] = {static_cast<GifByteType>(i / 36 * kCubeStep),
                              static_cast<GifByteType>(i / 6 % 6 * kCubeStep),
                              static_cast<GifByteType>(i % 6 * kCubeStep)};
    }
    for (int i = 0; i < kGreys; ++i) {
        const auto v = static_cast<GifByteType>((i * 255 + (kGreys - 1) / 2) / (kGreys - 1));
        palette->Colors[kCubeColours + i] = {v, v, v};
    }
    const int status = EGifPutScreenDesc(e.gif, width, height, 8, 0, palette);
    GifFreeMapObject(palette);
    if (status != GIF_OK) e.fail(gifReason(e.gif->Error));
    // Loop forever (the NETSCAPE2.0 application extension, count 0).
    const GifByteType loop[] = {1, 0, 0};
    if (EGifPutExtensionLeader(e.gif, APPLICATION_EXT_FUNC_CODE) != GIF_OK ||
        EGifPutExtensionBlock(e.gif, 11, "NETSCAPE2.0") != GIF_OK ||
        EGifPutExtensionBlock(e.gif, 3, loop) != GIF_OK || EGifPutExtensionTrailer(e.gif) != GIF_OK) {
        e.fail(gifReason(e.gif->Error));
    }
}

GifAnimation::~GifAnimation() = default;

uint8_t GifAnimation::paletteIndex(uint8_t r, uint8_t g, uint8_t b) {
    if (std::max({r, g, b}) - std::min({r, g, b}) <= kGreyTolerance) {
        const int grey = (r + g + b) / 3;
        return static_cast<uint8_t>(kCubeColours + (grey * (kGreys - 1) + 127) / 255);
    }
    auto level = [](int v) { return (v + kCubeStep / 2) / kCubeStep; };
    return static_cast<uint8_t>(level(r) * 36 + level(g) * 6 + level(b));
}

void GifAnimation::addFrame(const std::vector<uint8_t> &rgb, int delay) {
    Encoder &e = *encoder_;
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSAL_UNSPECIFIED;
    control.DelayTime = delay;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(e.gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) != GIF_OK ||
        EGifPutImageDesc(e.gif, 0, 0, e.width, e.height, false, nullptr) != GIF_OK) {
        e.fail(gifReason(e.gif->Error));
    }
    for (int y = 0; y < e.height; ++y) {
        const uint8_t *in = &rgb[3 * static_cast<std::size_t>(y) * e.width];
        for (int x = 0; x < e.width; ++x) e.line[x] = paletteIndex(in[3 * x], in[3 * x + 1], in[3 * x + 2]);
        if (EGifPutLine(e.gif, e.line.data(), e.width) != GIF_OK) e.fail(gifReason(e.gif->Error));
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
