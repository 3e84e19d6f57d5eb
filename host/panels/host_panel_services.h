// The stand-in host's "LWPanelServices": panels and controls kept as
// PlofPanelRecord and PlofControlRecord, opened by a PanelDriver instead of a
// person.
//
// There is one services record for the process (the module keeps the pointer
// it is given). providePanelServices() offers it in the service registry.
// Its operations find the panels made so far (LivePanels) and the driver of
// every panel opened in the installed context (host/base/host_context.h).
#pragma once

#include <set>

#include "host/panels/panel_record.h"

namespace plof::host {

// Acts on a panel while it is open, as a person would.
class PanelDriver {
public:
    virtual ~PanelDriver() = default;
    // Called by openPanel after the panel has been drawn once; returns when
    // the panel is closed: nonzero for confirm, 0 for cancel. Without a
    // driver in the context a panel closes as cancelled once drawn.
    virtual int32_t runPanel(PlofPanelRecord &panel) = 0;
};

// The panels the module has created and not yet destroyed: handles it hands
// back are checked against them, so a stale or foreign handle is ignored
// instead of followed. Panels still live at its end are freed with it.
class LivePanels {
public:
    LivePanels() = default;
    ~LivePanels();
    LivePanels(const LivePanels &) = delete;
    LivePanels &operator=(const LivePanels &) = delete;

    bool contains(PlofPanelRecord *panel) const { return panel && panels_.count(panel) != 0; }
    // Takes `panel`, made by the panel services, into the live set.
    void add(PlofPanelRecord *panel) { panels_.insert(panel); }
    // Frees `panel` when it is live.
    void destroy(PlofPanelRecord *panel);
    int count() const { return static_cast<int>(panels_.size()); }

private:
    std::set<PlofPanelRecord *> panels_;
};

// The record the host hands out for "LWPanelServices".
PlofPanelServices &panelServices();

// Offers the record under "LWPanelServices" in the service registry.
void providePanelServices();

// Runs the panel's draw callback, as the host does whenever it draws it.
void drawPanel(PlofPanelRecord &panel);

// Panels created and not yet destroyed in the installed context (tests check
// that none leak); 0 without a context.
int livePanelCount();

}  // namespace plof::host
