#include "host/panels/panel_layout.h"

#include <algorithm>

namespace plof::host {

namespace {

constexpr int32_t kMargin = 10;
constexpr int32_t kMinimumWidth = 200;
constexpr int32_t kListBoxRowHeight = 16;

int32_t textWidth(const std::string &text) {
    return static_cast<int32_t>(std::min<std::size_t>(text.size(), 1000)) * kCharacterWidth;
}

// A description word used as a size: negative or absurd words give a sane box.
int32_t sizeWord(intptr_t word, int32_t fallback) {
    return word > 0 && word < 4000 ? static_cast<int32_t>(word) : fallback;
}

}  // namespace

int32_t labelWidth(const PlofControlRecord &control) {
    if (control.kind == ControlKind::Button || control.label.empty()) return 0;
    return textWidth(control.label) + kLabelGap;
}

FieldBox fieldBox(const PlofControlRecord &control) {
    switch (control.kind) {
        case ControlKind::Float: return {66, kControlHeight};
        case ControlKind::Number: return {48, kControlHeight};
        case ControlKind::Button: return {textWidth(control.label) + 12, kControlHeight};
        case ControlKind::Bool: return {kControlHeight, kControlHeight};
        case ControlKind::DragButton: return {14, kControlHeight};
        // The track, then room for the value written beside it.
        case ControlKind::Slider: return {sizeWord(control.words[0], 100) + 40, kControlHeight};
        case ControlKind::ItemList: return {140, kControlHeight};
        case ControlKind::File: return {sizeWord(control.words[0], 30) * kCharacterWidth, kControlHeight};
        case ControlKind::FloatVector: return {3 * 72, kControlHeight};
        case ControlKind::ListBox:
            return {sizeWord(control.words[0], 200), sizeWord(control.words[1], 5) * kListBoxRowHeight};
    }
    return {0, 0};
}

int32_t panelWidth(const PlofPanelRecord &panel) {
    int32_t right = kMinimumWidth - kMargin;
    right = std::max(right, textWidth(panel.title) + kMargin);
    for (const auto &control : panel.controls) {
        right = std::max(right, control->x + labelWidth(*control) + fieldBox(*control).width);
    }
    if (!panel.pixels.empty()) {
        for (const auto &[place, colour] : panel.pixels) right = std::max(right, place.first + 1);
    }
    return std::min(right + kMargin, 4000);
}

int32_t panelHeight(const PlofPanelRecord &panel) {
    if (panel.height > 0) return panel.height;
    int32_t bottom = kTitleHeight;
    for (const auto &control : panel.controls) {
        bottom = std::max(bottom, control->y + fieldBox(*control).height);
    }
    return std::min(bottom + kMargin, 4000);
}

}  // namespace plof::host
