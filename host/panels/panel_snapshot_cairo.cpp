#include "host/panels/host_colours.h"
#include "host/panels/panel_snapshot.h"

#include "host/base/host_error.h"
#include "host/files/png_output.h"
#include "host/module/service_registry.h"
#include "host/panels/panel_layout.h"
#include "plof/host_services.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace plof::host {

namespace {

struct Rgb {
    double r, g, b;
};

constexpr Rgb kBackground{0.78, 0.78, 0.80};
constexpr Rgb kTitleBar{0.25, 0.30, 0.40};
constexpr Rgb kField{0.96, 0.96, 0.94};
constexpr Rgb kButton{0.66, 0.68, 0.74};
constexpr Rgb kInk{0.0, 0.0, 0.0};
constexpr Rgb kPaper{1.0, 1.0, 1.0};

void setColour(cairo_t *cr, Rgb colour) { cairo_set_source_rgb(cr, colour.r, colour.g, colour.b); }

void fillBox(cairo_t *cr, double x, double y, double w, double h, Rgb fill) {
    cairo_rectangle(cr, x + 0.5, y + 0.5, w - 1.0, h - 1.0);
    setColour(cr, fill);
    cairo_fill_preserve(cr);
    setColour(cr, kInk);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

// Text with its left edge at x, vertically centred in the row box at y.
void text(cairo_t *cr, double x, double y, const std::string &line, Rgb colour) {
    setColour(cr, colour);
    cairo_move_to(cr, x, y + kControlHeight - 5.0);
    cairo_show_text(cr, line.c_str());
}

std::string formatNumber(double number) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6g", number);
    return buffer;
}

std::string itemName(const PlofControlRecord &control) {
    if (control.integer == 0) return "(none)";
    auto global = reinterpret_cast<PlofGlobalFunc>(control.words[0]);
    if (!global) global = globalServiceFunction();
    auto *items = static_cast<PlofItemInfo *>(global(PLOF_SERVICE_ITEM_INFO, 0));
    const char *name = items && items->name ? items->name(static_cast<PlofItemId>(control.integer)) : nullptr;
    return name && *name ? name : "item " + std::to_string(control.integer);
}

void drawListBox(cairo_t *cr, const PlofControlRecord &control, double x, double y, FieldBox box) {
    fillBox(cr, x, y, box.width, box.height, kField);
    auto count = reinterpret_cast<PlofListCountFunc>(control.words[3]);
    auto name = reinterpret_cast<PlofListNameFunc>(control.words[4]);
    if (!count || !name) return;
    const int32_t rows = box.height / 16;
    const int32_t entries = count(control.listData);
    for (int32_t i = 0; i < std::min(entries, rows); ++i) {
        const char *entry = name(control.listData, i);
        if (entry) text(cr, x + 4, y + 16.0 * i - 1.0, entry, kInk);
    }
}

void drawSlider(cairo_t *cr, const PlofControlRecord &control, double x, double y, FieldBox box) {
    const double track = box.width - 40.0;
    fillBox(cr, x, y + 6, track, 6, kField);
    const double low = static_cast<double>(control.words[1]);
    const double high = static_cast<double>(control.words[2]);
    double fraction = high > low ? (static_cast<double>(control.integer) - low) / (high - low) : 0.0;
    fraction = std::clamp(fraction, 0.0, 1.0);
    fillBox(cr, x + fraction * (track - 8.0), y + 1, 8, kControlHeight - 2, kButton);
    text(cr, x + track + 4, y, std::to_string(control.integer), kInk);
}

void drawControl(cairo_t *cr, const PlofControlRecord &control) {
    const double labelX = control.x;
    const double x = control.x + labelWidth(control);
    const double y = control.y;
    const FieldBox box = fieldBox(control);
    if (control.kind != ControlKind::Button) text(cr, labelX, y, control.label, kInk);
    switch (control.kind) {
        case ControlKind::Float:
            fillBox(cr, x, y, box.width, box.height, kField);
            text(cr, x + 3, y, formatNumber(control.number), kInk);
            break;
        case ControlKind::Number:
            fillBox(cr, x, y, box.width, box.height, kField);
            text(cr, x + 3, y, std::to_string(control.integer), kInk);
            break;
        case ControlKind::Button:
            fillBox(cr, x, y, box.width, box.height, kButton);
            text(cr, x + 6, y, control.label, kInk);
            break;
        case ControlKind::Bool:
            fillBox(cr, x, y, box.width, box.height, kField);
            if (control.integer != 0) {
                setColour(cr, kInk);
                cairo_set_line_width(cr, 2.0);
                cairo_move_to(cr, x + 4, y + 9);
                cairo_line_to(cr, x + 8, y + 14);
                cairo_line_to(cr, x + 14, y + 4);
                cairo_stroke(cr);
            }
            break;
        case ControlKind::DragButton:
            fillBox(cr, x, y, box.width, box.height, kButton);
            text(cr, x + 3, y, "\xE2\x86\x95", kInk);  // an up-down arrow: drag to change
            break;
        case ControlKind::Slider: drawSlider(cr, control, x, y, box); break;
        case ControlKind::ItemList:
            fillBox(cr, x, y, box.width, box.height, kField);
            text(cr, x + 3, y, itemName(control), kInk);
            break;
        case ControlKind::File:
            fillBox(cr, x, y, box.width, box.height, kField);
            text(cr, x + 3, y, control.text, kInk);
            break;
        case ControlKind::FloatVector:
            for (int i = 0; i < 3; ++i) {
                fillBox(cr, x + 72.0 * i, y, 70, box.height, kField);
                text(cr, x + 72.0 * i + 3, y, formatNumber(control.numbers[static_cast<std::size_t>(i)]), kInk);
            }
            break;
        case ControlKind::ListBox: drawListBox(cr, control, x, y, box); break;
    }
}

// Sizes the monospace font so that a character is as wide as the metric the
// host reports for labels.
void chooseFont(cairo_t *cr) {
    cairo_select_font_face(cr, "monospace", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 12.0);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, "M", &extents);
    if (extents.x_advance > 0.0) cairo_set_font_size(cr, 12.0 * kCharacterWidth / extents.x_advance);
}

// Draws and writes the picture; the cairo objects are gone when it returns.
bool drawAndWrite(const PlofPanelRecord &panel, const std::string &path, std::string &problem) {
    const int32_t width = panelWidth(panel);
    const int32_t height = panelHeight(panel);
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height), &cairo_surface_destroy);
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> context(cairo_create(surface.get()), &cairo_destroy);
    cairo_t *cr = context.get();
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
        problem = path + ": cannot draw the panel picture (" + cairo_status_to_string(cairo_status(cr)) + ")";
        return false;
    }
    setColour(cr, kBackground);
    cairo_paint(cr);
    chooseFont(cr);
    setColour(cr, kTitleBar);
    cairo_rectangle(cr, 0, 0, width, kTitleHeight);
    cairo_fill(cr);
    text(cr, 4, 0, panel.title, kPaper);
    for (const auto &control : panel.controls) drawControl(cr, *control);
    cairo_surface_flush(surface.get());
    // The module's pixels are set exactly, over everything else.
    unsigned char *data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (const auto &[place, colour] : panel.pixels) {
        const auto [px, py] = place;
        if (px < 0 || py < 0 || px >= width || py >= height) continue;
        auto *pixel = reinterpret_cast<uint32_t *>(data + static_cast<std::ptrdiff_t>(py) * stride) + px;
        *pixel = hostColourRgb(colour);
    }
    cairo_surface_mark_dirty(surface.get());
    try {
        writePngFile(surface.get(), path);
    } catch (const OutputError &error) {
        problem = error.what();
        return false;
    }
    return true;
}

}  // namespace

bool snapshotAvailable() { return true; }

bool writePanelSnapshot(const PlofPanelRecord &panel, const std::string &path, std::string &problem) {
    const bool written = drawAndWrite(panel, path, problem);
    // Pictures are rare: release the font caches each time, so that the
    // program ends without memory that leak checkers would report.
    cairo_debug_reset_static_data();
    FcFini();
    return written;
}

}  // namespace plof::host
