// The stand-in host's "LWPanelServices": panels and controls kept as
// PlofPanelRecord and PlofControlRecord, opened by a PanelDriver instead of a
// person.
//
// There is one services record for the process (the module keeps the pointer
// it is given). providePanelServices() offers it in the service registry;
// whoever drives panels (the script runner) installs itself with
// setPanelDriver for as long as it lives.
#pragma once

#include "host/panels/panel_record.h"

namespace plof::host {

// Acts on a panel while it is open, as a person would.
class PanelDriver {
public:
    virtual ~PanelDriver() = default;
    // Called by openPanel after the panel has been drawn once; returns when
    // the panel is closed: nonzero for confirm, 0 for cancel.
    virtual int32_t runPanel(PlofPanelRecord &panel) = 0;
};

// The record the host hands out for "LWPanelServices".
PlofPanelServices &panelServices();

// Offers the record under "LWPanelServices" in the service registry.
void providePanelServices();

// Installs the driver of every panel opened from now on; null (the default)
// makes a panel close as cancelled right after it is drawn.
void setPanelDriver(PanelDriver *driver);

// Runs the panel's draw callback, as the host does whenever it draws it.
void drawPanel(PlofPanelRecord &panel);

// Panels created and not yet destroyed (tests check that none leak).
int livePanelCount();

}  // namespace plof::host
