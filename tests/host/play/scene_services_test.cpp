#include "host/play/scene_services.h"

#include <gtest/gtest.h>

#include "host/module/service_registry.h"
#include "host/run/host_process.h"
#include "plof/host_services.h"

namespace plof::host {
namespace {

// The host runs for the whole suite, as for the whole of a plof-host run.
const HostProcess kProcess;

template <typename Record>
const Record &service(const char *name) {
    const void *record = globalServiceFunction()(name, 0);
    EXPECT_NE(record, nullptr) << name;
    return *static_cast<const Record *>(record);
}

MotionKey keyAt(int32_t frame, double x, double heading = 0) {
    MotionKey key;
    key.frame = frame;
    key.linear = 1;
    key.values[kX] = x;
    key.values[kHeading] = heading;
    return key;
}

// Item 1: a still emitter turned 90 degrees; item 2: a null under it;
// item 3: a moving object with one point.
HostScene threeItems() {
    HostScene scene;
    HostItem emitter = makeObjectItem("Emitter", "builtin:line:2", {0, 0, 0, 1, 0, 0});
    emitter.motion = {keyAt(0, 5, 90)};
    HostItem null;
    null.name = "Null";
    null.isNull = true;
    null.parent = 1;
    MotionKey up;
    up.values[kY] = 1;
    null.motion = {up};
    HostItem mover = makeObjectItem("Mover", "m.obj", {1, 1, 1});
    mover.motion = {keyAt(0, 0), keyAt(30, 30)};
    scene.items = {emitter, null, mover};
    return scene;
}

void expectVector(const double actual[3], const Vec3 &expected) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-12) << "component " << i;
    }
}

TEST(HostServicesTest, ItemInfoWalksNamesAndPosesItemsInSceneOrder) {
    const HostScene scene = threeItems();
    HostServices services(scene, 30.0);
    const auto &items = service<PlofItemInfo>(PLOF_SERVICE_ITEM_INFO);
    EXPECT_EQ(items.first(PLOF_ITEM_OBJECT, 0), 1u);
    EXPECT_EQ(items.next(1), 2u);
    EXPECT_EQ(items.next(2), 3u);
    EXPECT_EQ(items.next(3), 0u);
    EXPECT_EQ(items.first(PLOF_ITEM_OBJECT, 1), 2u);  // the children of item 1
    EXPECT_EQ(items.first(1, 0), 0u);                 // no lights in a stand-in scene
    EXPECT_STREQ(items.name(2), "Null");
    EXPECT_STREQ(items.name(0), "");
    EXPECT_STREQ(items.name(4), "");

    double v[3];
    items.param(1, PLOF_PARAM_RIGHT, 0.0, v);
    expectVector(v, {0, 0, -1});
    items.param(1, PLOF_PARAM_FORWARD, 0.0, v);
    expectVector(v, {1, 0, 0});
    items.param(2, PLOF_PARAM_W_POSITION, 1.0, v);
    expectVector(v, {5, 1, 0});  // carried by its parent
    items.param(2, PLOF_PARAM_RIGHT, 1.0, v);
    expectVector(v, {0, 0, -1});
    items.param(3, PLOF_PARAM_W_POSITION, 0.5, v);  // frame 15 of 0..30
    expectVector(v, {15, 0, 0});
    items.param(3, PLOF_PARAM_W_POSITION, 0.25, v);
    expectVector(v, {7.5, 0, 0});
    items.param(3, PLOF_PARAM_UP, 0.25, v);
    expectVector(v, {0, 1, 0});
    items.param(9, PLOF_PARAM_W_POSITION, 0.0, v);
    expectVector(v, {0, 0, 0});
    EXPECT_EQ(services.parameterQueries(), 8u);
}

TEST(HostServicesTest, ObjectInfoAndAccessGiveThePointsAsFloats) {
    const HostScene scene = threeItems();
    HostServices services(scene, 30.0);
    const auto &info = service<PlofObjectInfo>(PLOF_SERVICE_OBJECT_INFO);
    const auto &access = service<PlofObjectAccess>(PLOF_SERVICE_OBJECT_ACCESS);
    EXPECT_EQ(info.pointCount(1), 2);
    EXPECT_EQ(info.pointCount(2), 0);
    EXPECT_EQ(info.pointCount(7), 0);
    void *handle = access.accessHandle(info.meshSource(1));
    const float *second = access.pointPosition(handle, 1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second[0], 1.0f);
    EXPECT_EQ(access.pointPosition(handle, 2), nullptr);
    EXPECT_EQ(access.pointPosition(handle, -1), nullptr);
    EXPECT_EQ(access.pointPosition(access.accessHandle(info.meshSource(0)), 0), nullptr);
}

TEST(HostServicesTest, ItemZeroStandsForTheCurrentItemOfAVersionOneInstance) {
    const HostScene scene = threeItems();
    HostServices services(scene, 30.0);
    const auto &info = service<PlofObjectInfo>(PLOF_SERVICE_OBJECT_INFO);
    const auto &items = service<PlofItemInfo>(PLOF_SERVICE_ITEM_INFO);
    EXPECT_EQ(info.pointCount(0), 0);
    services.setCurrentItem(3);
    EXPECT_EQ(info.pointCount(0), 1);
    double v[3];
    items.param(0, PLOF_PARAM_W_POSITION, 0.5, v);
    expectVector(v, {15, 0, 0});
    EXPECT_STREQ(items.name(0), "");  // never a name: item 0 is not in the scene's list
    services.setCurrentItem(0);
    items.param(0, PLOF_PARAM_W_POSITION, 0.5, v);
    expectVector(v, {0, 0, 0});
}

TEST(HostServicesTest, MessagesDirectoriesAndFileRequest) {
    const HostScene scene;
    HostServices services(scene, 30.0);
    const auto &messages = service<PlofMessages>(PLOF_SERVICE_MESSAGES);
    messages.error("Cannot open", "plof.plf");
    messages.error("Only one line", nullptr);
    EXPECT_EQ(services.messages(), (std::vector<std::string>{"Cannot open plof.plf", "Only one line"}));

    const auto &directories = service<PlofDirectoryInfo>(PLOF_SERVICE_DIRECTORY_INFO);
    services.setDirectory(PLOF_DIRECTORY_SCENES, "/tmp/scenes");
    EXPECT_STREQ(directories.directory(PLOF_DIRECTORY_SCENES), "/tmp/scenes");
    EXPECT_NE(directories.directory(PLOF_DIRECTORY_OBJECTS), nullptr);
    EXPECT_EQ(directories.directory("Images"), nullptr);

    char name[256] = "PLOF.plf", path[256] = "", result[256] = "x";
    EXPECT_EQ(service<PlofFileRequest>(PLOF_SERVICE_FILE_REQUEST).request("Load", name, path, result, 256), 0);
    EXPECT_STREQ(result, "");
}

int32_t scriptedRequest(const char *, char *, char *, char *, int32_t) { return 1; }

TEST(HostServicesTest, AReplacedRecordStaysWhenTheServicesGo) {
    PlofFileRequest scripted{&scriptedRequest};
    {
        const HostScene scene;
        HostServices services(scene, 30.0);
        provideService(PLOF_SERVICE_FILE_REQUEST, &scripted);
    }
    EXPECT_EQ(findService(PLOF_SERVICE_FILE_REQUEST), &scripted);
    EXPECT_EQ(findService(PLOF_SERVICE_ITEM_INFO), nullptr);
    provideService(PLOF_SERVICE_FILE_REQUEST, nullptr);
}

}  // namespace
}  // namespace plof::host
