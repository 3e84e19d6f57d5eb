// The scene-baking panel, opened by the "    CreateScene   " button of the
// options panel: the user names the scene, adds object files, sets frames,
// spins, heading alignment, scaling and dissolving, and on confirmation the
// settings are stored in the instance and the scene is baked. A bake that is
// refused or cannot be written shows "Can't write scene file" and the scene's
// path through "Info Messages".
//
// Runs nested inside the open options panel and takes its context: `global`
// to fetch the panel services, `instance` to edit; the context also becomes
// the user data of the "ObjectFile " button. Before the list box is added the
// services' user-data word is pointed at the instance's objectList (and is
// left so; the list box and addObjectFile rely on it while the panel is open).
#pragma once

#include <cstdint>

#include "plof/panel_services.h"

namespace plof {

struct OptionsPanelContext;

// What openSceneBakingPanel reports (the host, which calls it as an event,
// ignores it).
enum SceneBakingPanelResult : int32_t {
    kBakingPanelClosed = 0,      // shown and closed, confirmed or cancelled
    kBakingPanelNotBuilt = 1,    // the panel or one of its controls cannot be created
    kBakingPanelNoServices = 2,  // "LWPanelServices" is missing
};

// Builds, opens and destroys the panel.
SceneBakingPanelResult openSceneBakingPanel(PlofControl control, OptionsPanelContext &context);

// The "    CreateScene   " button's event: openSceneBakingPanel with the
// options panel's context as user data (the host ignores the result).
void sceneBakingEvent(PlofControl control, void *context);

// The "Obj List" list box's callbacks, given the instance's ObjectList as
// their data word: the number of entries, and an entry's text or null for an
// index outside 0 .. count - 1. The event does nothing.
int32_t objectListCount(void *list);
const char *objectListName(void *list, int32_t index);
void objectListEvent(PlofControl control, void *list);

}  // namespace plof
