#include "support/recording_panel_services.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace plof::test {

namespace {

RecordingPanelServices *active = nullptr;

RecordedControl &controlOf(PlofControl control) { return *reinterpret_cast<RecordedControl *>(control); }
RecordedPanel &panelOf(PlofPanel panel) { return *reinterpret_cast<RecordedPanel *>(panel); }

PlofPanel createPanel(const char *title, PlofPanelServices *services) {
    EXPECT_EQ(services, &active->record());
    if (active->failPanelCreation) return nullptr;
    auto panel = std::make_unique<RecordedPanel>();
    panel->title = title;
    active->panels.push_back(std::move(panel));
    return active->panels.back()->handle();
}

void destroyPanel(PlofPanel panel) {
    EXPECT_FALSE(panelOf(panel).destroyed) << "panel destroyed twice";
    panelOf(panel).destroyed = true;
}

int32_t openPanel(PlofPanel handle, int32_t flags) {
    RecordedPanel &panel = panelOf(handle);
    panel.openFlags = flags;
    // The host draws a panel when it opens.
    RecordingPanelServices::redraw(panel);
    return active->user ? active->user(panel) : 0;
}

void setPanelAttribute(PlofPanel handle, int32_t code, void *value) {
    RecordedPanel &panel = panelOf(handle);
    switch (code) {
        case PLOF_PANEL_HEIGHT: panel.height = *static_cast<int32_t *>(value); break;
        case PLOF_PANEL_DRAW: panel.draw = reinterpret_cast<PlofDrawFunc>(value); break;
        case PLOF_PANEL_USER_DATA: panel.userData = value; break;
        default: ADD_FAILURE() << "unexpected panel attribute " << code;
    }
}

PlofControl addControl(PlofPanel handle, const char *kind, const PlofControlDescription *description,
                       const char *label) {
    RecordedPanel &panel = panelOf(handle);
    const auto index = static_cast<int32_t>(panel.controls.size());
    if (index == active->failControlAt) return nullptr;
    auto control = std::make_unique<RecordedControl>();
    control->panel = &panel;
    control->index = index;
    control->kind = kind;
    control->description = *description;
    control->label = label;
    panel.controls.push_back(std::move(control));
    return panel.controls.back()->handle();
}

void getControlAttribute(PlofControl handle, int32_t code, PlofControlValue *value) {
    RecordedControl &control = controlOf(handle);
    if (code == PLOF_CONTROL_LABEL_WIDTH) {
        ASSERT_EQ(value->type, PLOF_VALUE_INTEGER);
        auto found = active->labelWidths.find(control.label);
        value->value.integer =
            found != active->labelWidths.end() ? found->second : static_cast<intptr_t>(6 * control.label.size());
        return;
    }
    ASSERT_EQ(code, PLOF_CONTROL_VALUE) << "unexpected control attribute read";
    switch (value->type) {
        case PLOF_VALUE_INTEGER: value->value.integer = control.integer; break;
        case PLOF_VALUE_FLOAT: value->value.number = control.number; break;
        case PLOF_VALUE_INT_VECTOR:
            std::copy(control.integers.begin(), control.integers.end(), value->value.integers);
            break;
        case PLOF_VALUE_FLOAT_VECTOR:
            std::copy(control.numbers.begin(), control.numbers.end(), value->value.numbers);
            break;
        case PLOF_VALUE_TEXT: {
            ASSERT_GT(value->value.text.length, 0);
            const auto capacity = static_cast<std::size_t>(value->value.text.length);
            const std::size_t count = std::min(control.text.size(), capacity - 1);
            std::memcpy(value->value.text.buffer, control.text.data(), count);
            value->value.text.buffer[count] = '\0';
            break;
        }
        default: ADD_FAILURE() << "unknown value type " << value->type;
    }
}

void setControlAttribute(PlofControl handle, int32_t code, PlofControlValue *value) {
    RecordedControl &control = controlOf(handle);
    control.attributeOrder.push_back(code);
    switch (code) {
        case PLOF_CONTROL_X: control.x = static_cast<int32_t>(value->value.integer); return;
        case PLOF_CONTROL_Y: control.y = static_cast<int32_t>(value->value.integer); return;
        case PLOF_CONTROL_EVENT: control.event = reinterpret_cast<PlofEventFunc>(value->value.integer); return;
        case PLOF_CONTROL_USER_DATA: control.userData = reinterpret_cast<void *>(value->value.integer); return;
        case PLOF_CONTROL_VALUE: break;
        default: ADD_FAILURE() << "unexpected control attribute " << code; return;
    }
    control.valueType = value->type;
    switch (value->type) {
        case PLOF_VALUE_INTEGER: control.integer = value->value.integer; break;
        case PLOF_VALUE_FLOAT: control.number = value->value.number; break;
        case PLOF_VALUE_INT_VECTOR:
            std::copy(value->value.integers, value->value.integers + 3, control.integers.begin());
            break;
        case PLOF_VALUE_FLOAT_VECTOR:
            std::copy(value->value.numbers, value->value.numbers + 3, control.numbers.begin());
            break;
        case PLOF_VALUE_TEXT:
            control.text.assign(value->value.text.buffer, static_cast<std::size_t>(value->value.text.length));
            break;
        default: ADD_FAILURE() << "unknown value type " << value->type;
    }
}

void drawPixel(PlofPanel handle, int32_t colour, int32_t x, int32_t y) {
    RecordedPanel &panel = panelOf(handle);
    panel.pixels[{x, y}] = colour;
    ++panel.pixelWrites;
}

}  // namespace

RecordedControl &RecordedPanel::control(const std::string &label) {
    RecordedControl *found = nullptr;
    for (auto &control : controls) {
        if (control->label != label) continue;
        if (found != nullptr) throw std::logic_error("two controls labelled '" + label + "'");
        found = control.get();
    }
    if (found == nullptr) throw std::logic_error("no control labelled '" + label + "' in " + title);
    return *found;
}

int32_t RecordedPanel::countPixels(int32_t colour) const {
    return static_cast<int32_t>(
        std::count_if(pixels.begin(), pixels.end(), [colour](const auto &pixel) { return pixel.second == colour; }));
}

RecordingPanelServices::RecordingPanelServices() {
    record_.createPanel = createPanel;
    record_.destroyPanel = destroyPanel;
    record_.openPanel = openPanel;
    record_.setPanelAttribute = setPanelAttribute;
    record_.addControl = addControl;
    record_.getControlAttribute = getControlAttribute;
    record_.setControlAttribute = setControlAttribute;
    record_.drawPixel = drawPixel;
    active = this;
}

RecordingPanelServices::~RecordingPanelServices() { active = nullptr; }

RecordingPanelServices *RecordingPanelServices::current() { return active; }

RecordedPanel &RecordingPanelServices::panel(const std::string &title) {
    for (auto &panel : panels) {
        if (panel->title == title) return *panel;
    }
    throw std::logic_error("no panel titled '" + title + "'");
}

void RecordingPanelServices::setInteger(RecordedControl &control, intptr_t value) { control.integer = value; }
void RecordingPanelServices::setNumber(RecordedControl &control, double value) { control.number = value; }
void RecordingPanelServices::setText(RecordedControl &control, const std::string &value) { control.text = value; }

void RecordingPanelServices::press(RecordedControl &control) {
    ASSERT_NE(control.event, nullptr) << "control '" << control.label << "' has no event";
    control.event(control.handle(), control.userData);
}

void RecordingPanelServices::drag(RecordedControl &control, int32_t d) {
    control.integers = {0, d, 0};
    press(control);
}

void RecordingPanelServices::redraw(RecordedPanel &panel) {
    if (panel.draw != nullptr) panel.draw(panel.handle(), panel.userData, 0);
}

}  // namespace plof::test
