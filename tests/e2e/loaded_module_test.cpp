// The stand-in host's own calls into the real plof.p, in process: loading,
// activation for both interface versions, and copying an instance.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "host/module/loaded_handler.h"
#include "host/module/module_loader.h"
#include "host/objects/builtin_shapes.h"
#include "host/play/frame_loop.h"
#include "host/play/scene_services.h"
#include "host/run/host_process.h"

namespace plof::host {
namespace {

// The host runs for the whole suite, as for the whole of a plof-host run.
const HostProcess kProcess;

std::vector<std::string> settings() {
    return {"PLOF_START",          "V0Min 1.250000", "V0Max 2.500000", "AgeMin 12.000000",
            "SpreadMax 90.000000", "REFERENCE",      "Second",         "PLOF_END"};
}

HostScene twoObjects() {
    HostScene scene;
    HostItem first = makeObjectItem("First", "builtin:line:5", builtinShapePoints("builtin:line:5"));
    first.hasEffect = true;
    first.effectLines = settings();
    HostItem second = makeObjectItem("Second", "builtin:grid:2x2", builtinShapePoints("builtin:grid:2x2"));
    second.hasEffect = true;
    scene.items = {first, second};
    return scene;
}

// The module is loaded once per process, as the host loads it.
const LoadedModule &plof() {
    static const std::unique_ptr<LoadedModule> module = LoadedModule::open(PLOF_MODULE_PATH);
    return *module;
}

TEST(LoadedModuleTest, TheModulePassesTheHostsChecksAndDescribesItsInstances) {
    EXPECT_EQ(checkDescriptor(plof().descriptor(), plof().path()), "");
    HostScene scene = twoObjects();
    HostServices services(scene, 30.0);
    const EffectHandler handler(plof(), 2);
    EffectPlayer player(handler, scene, services);
    // Each instance keeps its own text: a host may hold both (the second
    // used to overwrite the first).
    const char *first = handler.operations().describe(player.instance(0));
    const char *second = handler.operations().describe(player.instance(1));
    EXPECT_STREQ(first, "PLOF! num is 5 ");
    EXPECT_STREQ(second, "PLOF! num is 4 ");
}

TEST(LoadedModuleTest, ACopiedInstanceSavesTheSameSettingsInBothVersions) {
    for (int version : {1, 2}) {
        SCOPED_TRACE(version);
        HostScene scene = twoObjects();
        HostServices services(scene, 30.0);
        const EffectHandler handler(plof(), version);
        EffectPlayer player(handler, scene, services);
        services.setCurrentItem(2);
        EXPECT_EQ(handler.copy(player.instance(0), player.instance(1), version == 1 ? 0 : 2), "");
        services.setCurrentItem(0);
        // The avoid object is looked up by name at the first frame after
        // loading; the copy saves what it then finds.
        player.playFrame(20, 20 / 30.0);
        player.saveInstances();
        EXPECT_EQ(scene.items[1].effectLines, scene.items[0].effectLines);
        const std::vector<std::string> &saved = scene.items[0].effectLines;
        ASSERT_FALSE(saved.empty());
        EXPECT_EQ(saved.front(), "PLOF_START");
        EXPECT_NE(std::find(saved.begin(), saved.end(), "V0Max 2.500000"), saved.end());
        EXPECT_NE(std::find(saved.begin(), saved.end(), "Second"), saved.end());
        // The copy plays: every point of both objects gets a finite place.
        for (std::size_t item = 0; item < 2; ++item) {
            for (double coordinate : player.worldPoints(item)) {
                EXPECT_TRUE(std::isfinite(coordinate));
            }
        }
    }
}

}  // namespace
}  // namespace plof::host
