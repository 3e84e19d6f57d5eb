// An in-process "LWPanelServices" for tests: records every panel, control,
// attribute and pixel the module asks for, and lets a test act as the user.
//
// One RecordingPanelServices at a time: its constructor makes it the record
// behind the C callbacks (PanelFakeHost::global offers it as
// "LWPanelServices"); its destructor withdraws it. Label widths
// come from a fixed metric: 6 pixels per character, unless a test sets a
// width for a label. While a panel is open, `user` runs in its place and its
// result is the open result (nonzero confirm, 0 cancel); without one the
// panel is cancelled.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "plof/panel_services.h"

namespace plof::test {

struct RecordedPanel;

struct RecordedControl {
    RecordedPanel *panel = nullptr;
    int32_t index = 0;  // creation order within the panel, from 0
    std::string kind;
    PlofControlDescription description{};
    std::string label;
    int32_t x = 0;
    int32_t y = 0;
    int32_t valueType = 0;  // type code of the last value set, 0 when never set
    intptr_t integer = 0;
    double number = 0.0;
    std::array<int32_t, 3> integers{};
    std::array<double, 3> numbers{};
    std::string text;
    PlofEventFunc event = nullptr;
    void *userData = nullptr;
    std::vector<int32_t> attributeOrder;  // codes set, in order

    PlofControl handle() { return reinterpret_cast<PlofControl>(this); }
};

struct RecordedPanel {
    std::string title;
    std::vector<std::unique_ptr<RecordedControl>> controls;
    int32_t height = 0;
    PlofDrawFunc draw = nullptr;
    void *userData = nullptr;
    int32_t openFlags = -1;
    bool destroyed = false;
    std::map<std::pair<int32_t, int32_t>, int32_t> pixels;  // (x, y) -> last colour
    int32_t pixelWrites = 0;

    PlofPanel handle() { return reinterpret_cast<PlofPanel>(this); }
    // The control with this label; fails the test when there is none or
    // more than one.
    RecordedControl &control(const std::string &label);
    RecordedControl &controlAt(std::size_t index) { return *controls.at(index); }
    // Pixels currently in `colour`.
    int32_t countPixels(int32_t colour) const;
};

class RecordingPanelServices {
public:
    RecordingPanelServices();
    ~RecordingPanelServices();
    RecordingPanelServices(const RecordingPanelServices &) = delete;
    RecordingPanelServices &operator=(const RecordingPanelServices &) = delete;

    PlofPanelServices &record() { return record_; }
    std::vector<std::unique_ptr<RecordedPanel>> panels;

    // Acts as the user while a panel is open.
    std::function<int32_t(RecordedPanel &)> user;
    // Failure injection: create-panel returns null; add-control returns null
    // for the control with this creation index (-1: never).
    bool failPanelCreation = false;
    int32_t failControlAt = -1;
    std::map<std::string, int32_t> labelWidths;

    RecordedPanel &panel(const std::string &title);
    RecordedPanel &lastPanel() { return *panels.back(); }

    // The user's actions, as the host performs them.
    static void setInteger(RecordedControl &control, intptr_t value);
    static void setNumber(RecordedControl &control, double value);
    static void setText(RecordedControl &control, const std::string &value);
    static void press(RecordedControl &control);            // fires the event
    static void drag(RecordedControl &control, int32_t d);  // one drag step: value (0, d, 0), event
    static void redraw(RecordedPanel &panel);               // calls the draw callback

    static RecordingPanelServices *current();

private:
    PlofPanelServices record_{};
};

}  // namespace plof::test
