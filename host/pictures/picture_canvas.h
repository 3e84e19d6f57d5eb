// A small raster for the host's pictures of an effect: an RGB image in
// floating point, drawn with opaque dots, antialiased lines and a built-in
// 5 x 7 pixel font, then turned into 8-bit RGB.
//
// Everything is drawn by this code alone, with no system font or library
// renderer, so the same inputs give the same pixels on every machine.
// Coordinates are pixels, x to the right and y down, (0, 0) the top-left
// pixel's centre; whatever falls outside the image is clipped.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace plof::host {

struct Rgb {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

class Canvas {
public:
    Canvas(int width, int height, Rgb background);

    int width() const { return width_; }
    int height() const { return height_; }

    // Mixes `colour` into pixel (x, y) with weight `alpha` (0..1).
    void blend(int x, int y, Rgb colour, float alpha) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
        float *p = &pixels_[3 * (static_cast<std::size_t>(y) * width_ + x)];
        p[0] += (colour.r - p[0]) * alpha;
        p[1] += (colour.g - p[1]) * alpha;
        p[2] += (colour.b - p[2]) * alpha;
    }

    // An antialiased line one pixel wide (Xiaolin Wu's).
    void line(double x0, double y0, double x1, double y1, Rgb colour, float alpha);

    // A square dot of `size` x `size` pixels centred on (x, y), opaque.
    void dot(double x, double y, Rgb colour, int size);

    // Text in the built-in font (digits, letters, ' ', '-', '_', '.', '(' and
    // ')'; others are left blank), its top-left corner at
    // (x, y), each font pixel `scale` x `scale` image pixels.
    void text(int x, int y, std::string_view text, Rgb colour, int scale);
    static int textWidth(std::string_view text, int scale) { return static_cast<int>(text.size()) * 6 * scale; }

    // Three bytes per pixel, row by row.
    std::vector<uint8_t> rgb8() const;

private:
    int width_;
    int height_;
    std::vector<float> pixels_;
};

}  // namespace plof::host
