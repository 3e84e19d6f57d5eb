// The real plof.p in process, through the host's handler table: what each
// instance keeps of its own (its object's points, its description, its
// avoid object's name until the first frame, the services of the last good
// activation) and how it reads the avoid object's name back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "host/base/host_error.h"
#include "host/module/loaded_handler.h"
#include "host/module/module_loader.h"
#include "host/module/service_registry.h"
#include "host/objects/builtin_shapes.h"
#include "host/play/frame_loop.h"
#include "host/play/scene_services.h"
#include "host/run/host_process.h"
#include "plof/host_services.h"

namespace plof::host {
namespace {

// The host runs for the whole suite, as for the whole of a plof-host run.
const HostProcess kProcess;

const LoadedModule &plof() {
    static const std::unique_ptr<LoadedModule> module = LoadedModule::open(PLOF_MODULE_PATH);
    return *module;
}

HostItem emitter(const std::string &name, const std::string &shape, std::vector<std::string> lines) {
    HostItem item = makeObjectItem(name, shape, builtinShapePoints(shape));
    item.hasEffect = true;
    item.effectLines = std::move(lines);
    return item;
}

// A null standing still at `position`.
HostItem null(const std::string &name, Vec3 position) {
    HostItem item = makeObjectItem(name, "", {});
    item.isNull = true;
    MotionKey key;
    for (int c = 0; c < 3; ++c) key.values[kX + c] = position[c];
    item.motion = {key};
    return item;
}

// Particles that all rest (nothing is born before frame 1000) at the pivot,
// or at the avoid object `avoid`; radial launches when `orgEmit` is "1".
std::vector<std::string> restingLines(const std::string &avoid, const char *orgEmit = "0") {
    return {"PLOF_START", "V0Min 2", "V0Max 2", "START_F 1000", std::string("OrgEmit ") + orgEmit,
            "REFERENCE",  avoid,     "PLOF_END"};
}

std::vector<double> firstFrame(HostScene scene, std::size_t item) {
    HostServices services(scene, 30.0);
    const EffectHandler handler(plof(), 2);
    EffectPlayer player(handler, scene, services);
    player.playFrame(0, 0.0);
    const auto points = player.worldPoints(item);
    return {points.begin(), points.end()};
}

// Long names came back cut to 49 characters, and "none" found an object so named.
TEST(InstanceRecordsTest, TheAvoidObjectIsFoundByItsWholeNameAndNoneIsNone) {
    const std::string hideout = "Hideout_for_the_resting_sparks_behind_the_fountain_basin";
    HostScene scene;
    scene.items = {emitter("Emitter", "builtin:line:2", restingLines(hideout)), null(hideout, {4, 5, 6})};
    EXPECT_EQ(firstFrame(scene, 0), (std::vector<double>{4, 5, 6, 4, 5, 6}));

    scene.items = {emitter("Emitter", "builtin:line:2", restingLines("none")), null("none", {4, 5, 6})};
    EXPECT_EQ(firstFrame(scene, 0), (std::vector<double>{0, 0, 0, 0, 0, 0})) << "at the pivot";
}

// Saving before the first frame used to write "none": the name is looked
// up only at the first newTime.
TEST(InstanceRecordsTest, SavingBeforeTheFirstFrameKeepsTheLoadedAvoidObject) {
    HostScene scene;
    scene.items = {emitter("Emitter", "builtin:line:2", restingLines("Hideout")), null("Hideout", {1, 2, 3})};
    HostServices services(scene, 30.0);
    const EffectHandler handler(plof(), 2);
    EffectPlayer player(handler, scene, services);
    const std::vector<std::string> saved = handler.save(player.instance(0));
    const auto reference = std::find(saved.begin(), saved.end(), "REFERENCE");
    ASSERT_NE(reference, saved.end());
    ASSERT_NE(reference + 1, saved.end());
    EXPECT_EQ(*(reference + 1), "Hideout");
}

// An activation that finds "LW Item Info" missing used to leave the existing
// instances reading through a null record at their next frame.
TEST(InstanceRecordsTest, AFailedActivationLeavesExistingInstancesTheirServices) {
    HostScene scene;
    scene.items = {emitter("Emitter", "builtin:line:2", restingLines("Hideout")), null("Hideout", {1, 2, 3})};
    HostServices services(scene, 30.0);
    const EffectHandler handler(plof(), 2);
    EffectPlayer player(handler, scene, services);
    void *itemInfo = findService(PLOF_SERVICE_ITEM_INFO);
    provideService(PLOF_SERVICE_ITEM_INFO, nullptr);
    EXPECT_THROW({ const EffectHandler failing(plof(), 2); }, ModuleError);
    provideService(PLOF_SERVICE_ITEM_INFO, itemInfo);
    player.playFrame(0, 0.0);
    const auto points = player.worldPoints(0);
    EXPECT_EQ(std::vector<double>(points.begin(), points.end()), (std::vector<double>{1, 2, 3, 1, 2, 3}));
}

// Radial launches (OrgEmit 1) read the object's points: loading the first of
// two effects again used to read the second object's, the last one created.
TEST(InstanceRecordsTest, EachEffectLaunchesFromItsOwnObjectsPoints) {
    const std::vector<std::string> flying = {"PLOF_START", "V0Min 2",   "V0Max 2",   "Birth 600", "ReCycle 0",
                                             "AgeMin 50",  "AgeMax 50", "OrgEmit 1", "PLOF_END"};
    HostScene alone;
    alone.items = {emitter("Ball", "builtin:sphere:200", flying)};
    HostScene two;
    two.items = {emitter("Ball", "builtin:sphere:200", flying), emitter("Tile", "builtin:grid:6x4", {})};
    std::vector<double> played[2];
    for (HostScene *scene : {&alone, &two}) {
        HostServices services(*scene, 30.0);
        const EffectHandler handler(plof(), 2);
        EffectPlayer player(handler, *scene, services);
        handler.load(player.instance(0), flying);  // as closing its options panel re-initialises it
        player.playFrame(15, 15 / 30.0);           // every point is flying
        played[scene == &two].assign(player.worldPoints(0).begin(), player.worldPoints(0).end());
    }
    EXPECT_EQ(played[1], played[0]);
}

// The highest point index the module asked for, through a wrapped "LWObjectAccess".
int32_t highestPointAsked = -1;
const PlofObjectAccess *hostAccess = nullptr;
const float *recordingPointPosition(void *handle, int32_t point) {
    highestPointAsked = std::max(highestPointAsked, point);
    return hostAccess->pointPosition(handle, point);
}

// A copy takes the source's point count; radial reads used to go up to it on
// the copy's own, smaller object.
TEST(InstanceRecordsTest, ACopyReadsNoPointBeyondItsOwnObject) {
    const std::vector<std::string> radial = {"PLOF_START", "OrgEmit 1", "PLOF_END"};
    HostScene scene;
    scene.items = {emitter("Ball", "builtin:sphere:200", radial), emitter("Tile", "builtin:grid:6x4", radial)};
    HostServices services(scene, 30.0);
    hostAccess = static_cast<const PlofObjectAccess *>(findService(PLOF_SERVICE_OBJECT_ACCESS));
    PlofObjectAccess recording = *hostAccess;
    recording.pointPosition = recordingPointPosition;
    provideService(PLOF_SERVICE_OBJECT_ACCESS, &recording);
    const EffectHandler handler(plof(), 2);
    EffectPlayer player(handler, scene, services);
    highestPointAsked = -1;
    EXPECT_EQ(handler.copy(player.instance(0), player.instance(1), 2), "");
    EXPECT_EQ(highestPointAsked, 23) << "the tile has 24 points";
    provideService(PLOF_SERVICE_OBJECT_ACCESS, const_cast<PlofObjectAccess *>(hostAccess));
}

}  // namespace
}  // namespace plof::host
