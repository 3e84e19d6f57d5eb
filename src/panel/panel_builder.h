// Building a panel of the module from a table of its controls, with the
// messages every panel of the module shows when the host cannot build it.
//
// Each panel (options, scene baking) lists its controls once, in the order
// they are added, and hands the list here; the panel's own code then only
// fills values, wires events and opens the panel. The host owns the panel
// and its controls; destroying the panel releases them all.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "plof/abi.h"
#include "plof/panel_services.h"

namespace plof {

// One control: its kind (PLOF_KIND_*), the words of its description after
// the kind's type code, its label, and the column and row it is placed at.
struct ControlSpec {
    PlofControlKind kind;
    std::array<intptr_t, 5> words;
    const char *label;
    int32_t column;
    int32_t row;
};

// "LWPanelServices" through `global` (null allowed). When the host has none,
// shows "Unable to active global LWPanelServices" / " please add plugin
// lwpanels.p" and returns null.
PlofPanelServices *fetchPanelServices(PlofGlobalFunc global);

// Creates a panel titled `title`, adds the controls of `specs` in order into
// `controls` (of the same size) and places each at its column and row. When
// the panel or a control cannot be created, destroys what was made, shows
// "Duoooh!:" / "Unable to create panel" and returns null; no further control
// is created.
PlofPanel buildPanel(PlofPanelServices &services, const char *title, std::span<const ControlSpec> specs,
                     std::span<PlofControl> controls);

}  // namespace plof
