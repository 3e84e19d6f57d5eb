// How the stand-in host measures its panels: the label widths it reports to
// the module (control attribute 9), the size of each control's field, and the
// size of a panel. The panel services and the snapshot both use these, so the
// picture matches what the module was told.
//
// The font metric is fixed: every character of a label is 7 pixels wide,
// spaces included, and a label that is not empty keeps a gap of 6 pixels
// before its field. A button's label is written on the button itself, so a
// button reports a label width of 0 and its field grows with its label.
#pragma once

#include "host/panels/panel_record.h"

#include <cstdint>

namespace plof::host {

inline constexpr int32_t kCharacterWidth = 7;
inline constexpr int32_t kLabelGap = 6;
inline constexpr int32_t kControlHeight = 18;
// The panel's title is drawn in this many pixels above the first row.
inline constexpr int32_t kTitleHeight = 18;

struct FieldBox {
    int32_t width;
    int32_t height;
};

// The label width the host reports for `control` (attribute 9).
int32_t labelWidth(const PlofControlRecord &control);

// The data field's size; it starts at x + labelWidth, y.
FieldBox fieldBox(const PlofControlRecord &control);

// The panel's width: the module never sets it, so the host makes it wide
// enough for every control and every drawn pixel, plus a margin.
int32_t panelWidth(const PlofPanelRecord &panel);

// The height the module set (attribute 3), or, when it set none, enough for
// every control plus a margin.
int32_t panelHeight(const PlofPanelRecord &panel);

}  // namespace plof::host
