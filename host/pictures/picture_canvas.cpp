#include "host/pictures/picture_canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace plof::host {

namespace {

struct Glyph {
    char character;
    std::array<uint8_t, 7> rows;  // five bits per row, the leftmost pixel the highest bit
};

constexpr Glyph kGlyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}}, {'f', {0x06, 0x09, 0x08, 0x1C, 0x08, 0x08, 0x08}},
    {'r', {0x00, 0x00, 0x16, 0x19, 0x10, 0x10, 0x10}}, {'a', {0x00, 0x00, 0x0E, 0x01, 0x0F, 0x11, 0x0F}},
    {'m', {0x00, 0x00, 0x1A, 0x15, 0x15, 0x11, 0x11}}, {'e', {0x00, 0x00, 0x0E, 0x11, 0x1F, 0x10, 0x0E}},
    {'x', {0x00, 0x00, 0x11, 0x0A, 0x04, 0x0A, 0x11}}, {'y', {0x00, 0x00, 0x11, 0x11, 0x0F, 0x01, 0x0E}},
    {'z', {0x00, 0x00, 0x1F, 0x02, 0x04, 0x08, 0x1F}},
};

const Glyph *glyphOf(char c) {
    for (const Glyph &glyph : kGlyphs) {
        if (glyph.character == c) return &glyph;
    }
    return nullptr;
}

double fraction(double x) { return x - std::floor(x); }

}  // namespace

Canvas::Canvas(int width, int height, Rgb background)
    : width_(width), height_(height), pixels_(3 * static_cast<std::size_t>(width) * height) {
    for (std::size_t i = 0; i < pixels_.size(); i += 3) {
        pixels_[i] = background.r;
        pixels_[i + 1] = background.g;
        pixels_[i + 2] = background.b;
    }
}

void Canvas::line(double x0, double y0, double x1, double y1, Rgb colour, float alpha) {
    // Far outside the image, a line's pixels are all clipped: draw nothing
    // rather than walk millions of them.
    const double limit = 4.0 * (width_ + height_);
    for (double v : {x0, y0, x1, y1}) {
        if (!(std::fabs(v) < limit)) return;
    }
    const bool steep = std::fabs(y1 - y0) > std::fabs(x1 - x0);
    if (steep) {
        std::swap(x0, y0);
        std::swap(x1, y1);
    }
    if (x0 > x1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const double dx = x1 - x0;
    const double gradient = dx == 0.0 ? 1.0 : (y1 - y0) / dx;
    auto plot = [&](int x, int y, double weight) {
        if (steep) {
            blend(y, x, colour, static_cast<float>(weight) * alpha);
        } else {
            blend(x, y, colour, static_cast<float>(weight) * alpha);
        }
    };
    const int start = static_cast<int>(std::lround(x0));
    const int end = static_cast<int>(std::lround(x1));
    for (int x = start; x <= end; ++x) {
        const double y = y0 + gradient * (x - x0);
        const int yFloor = static_cast<int>(std::floor(y));
        plot(x, yFloor, 1.0 - fraction(y));
        plot(x, yFloor + 1, fraction(y));
    }
}

void Canvas::dot(double x, double y, Rgb colour, int size) {
    const int left = static_cast<int>(std::lround(x - (size - 1) / 2.0));
    const int top = static_cast<int>(std::lround(y - (size - 1) / 2.0));
    for (int dy = 0; dy < size; ++dy) {
        for (int dx = 0; dx < size; ++dx) blend(left + dx, top + dy, colour, 1.0f);
    }
}

void Canvas::text(int x, int y, std::string_view text, Rgb colour, int scale) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const Glyph *glyph = glyphOf(text[i]);
        if (!glyph) continue;
        const int left = x + static_cast<int>(i) * 6 * scale;
        for (int row = 0; row < 7; ++row) {
            for (int column = 0; column < 5; ++column) {
                if (!(glyph->rows[row] & (0x10 >> column))) continue;
                for (int sy = 0; sy < scale; ++sy) {
                    for (int sx = 0; sx < scale; ++sx) {
                        blend(left + column * scale + sx, y + row * scale + sy, colour, 1.0f);
                    }
                }
            }
        }
    }
}

std::vector<uint8_t> Canvas::rgb8() const {
    std::vector<uint8_t> out(pixels_.size());
    for (std::size_t i = 0; i < pixels_.size(); ++i) {
        out[i] = static_cast<uint8_t>(std::lround(std::clamp(pixels_[i], 0.0f, 1.0f) * 255.0f));
    }
    return out;
}

}  // namespace plof::host
