// The stand-in host's panels and controls, behind the opaque PlofPanel and
// PlofControl handles of the panel services.
//
// A panel owns its controls; both are created and destroyed only through the
// "LWPanelServices" record (panel_services.h). The script runner, the
// snapshot and the tests read these records while the panel exists; nothing
// may keep a pointer to one past destroyPanel.
#pragma once

#include "host/panels/control_kind.h"
#include "plof/panel_services.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The records live in the global namespace: the C header declares the
// handles as pointers to these struct names.
struct PlofControlRecord {
    PlofPanelRecord *panel = nullptr;
    int index = 0;  // 1-based creation order within the panel
    plof::host::ControlKind kind = plof::host::ControlKind::Number;
    std::string label;
    std::array<intptr_t, 5> words{};
    int32_t x = 0;
    int32_t y = 0;
    // Every payload a value record can carry is kept. An integer or a float
    // set also updates the other, so a number read in either type agrees.
    intptr_t integer = 0;
    double number = 0.0;
    std::array<int32_t, 3> integers{};
    std::array<double, 3> numbers{};
    std::string text;
    PlofEventFunc event = nullptr;
    void *userData = nullptr;
    // A list box's data word: the services' user-data word when it was added.
    void *listData = nullptr;
};

struct PlofPanelRecord {
    std::string title;
    PlofPanelServices *services = nullptr;
    std::vector<std::unique_ptr<PlofControlRecord>> controls;
    int32_t height = 0;  // 0 until the module sets it
    PlofDrawFunc draw = nullptr;
    void *userData = nullptr;
    // The module's drawn pixels, (x, y) -> host colour code, last one wins.
    std::map<std::pair<int32_t, int32_t>, int32_t> pixels;
    bool open = false;
};
