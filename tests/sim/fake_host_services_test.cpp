// The fake host is shared by many suites: checked here against what the
// stand-in host (host/play/scene_services.h) answers for the same items, and
// for what only the fake offers (settable motion, missing points, recorded
// messages) through the module's own view of the services.
#include "support/fake_host_services.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/module/service_registry.h"
#include "host/play/scene_services.h"
#include "host/run/host_process.h"
#include "instance/module_state.h"

namespace plof {
namespace {

using test::Axes;
using test::FakeHostServices;

TEST(FakeHostServices, InstallsItsServicesAndLeavesAFreshModuleBehind) {
    moduleState().randomState = 77;
    {
        FakeHostServices host;
        const ModuleState &state = moduleState();
        EXPECT_EQ(state.randomState, 1u);
        ASSERT_NE(state.global, nullptr);
        EXPECT_EQ(state.global(PLOF_SERVICE_OBJECT_INFO, 0), state.objectInfo);
        EXPECT_EQ(state.global(PLOF_SERVICE_OBJECT_ACCESS, 0), state.objectAccess);
        EXPECT_EQ(state.global(PLOF_SERVICE_ITEM_INFO, 0), state.itemInfo);
        EXPECT_EQ(state.global(PLOF_SERVICE_MESSAGES, 0), state.messages);
        EXPECT_EQ(state.global(PLOF_SERVICE_FILE_REQUEST, 0), nullptr);
        moduleState().randomState = 5;
    }
    EXPECT_EQ(moduleState().itemInfo, nullptr);
    EXPECT_EQ(moduleState().randomState, 1u);
}

TEST(FakeHostServices, WalksItemsOfOneKindInOrder) {
    FakeHostServices host;
    const PlofItemInfo &items = *moduleState().itemInfo;
    EXPECT_EQ(items.first(PLOF_ITEM_OBJECT, 0), 0u);
    const PlofItemId a = host.addItem("A");
    const PlofItemId light = host.addItem("Light", {}, 2);
    const PlofItemId b = host.addItem("B");
    EXPECT_EQ(items.first(PLOF_ITEM_OBJECT, 0), a);
    EXPECT_EQ(items.next(a), b);
    EXPECT_EQ(items.next(b), 0u);
    EXPECT_EQ(items.first(2, 0), light);
    EXPECT_EQ(items.next(light), 0u);
    EXPECT_EQ(std::string(items.name(b)), "B");
    EXPECT_EQ(std::string(items.name(0)), "");
    EXPECT_EQ(std::string(items.name(99)), "");
}

template <typename Record>
const Record &standInService(const char *name) {
    return *static_cast<const Record *>(host::globalServiceFunction()(name, 0));
}

TEST(FakeHostServices, AnswersItemsAndPointsAsTheStandInHostDoes) {
    host::HostScene scene;
    scene.items.push_back(host::makeObjectItem("Emitter", "a.lwo", {1, 2, 3, 4, 5, 6}));
    scene.items.push_back(host::makeObjectItem("Wall", "b.lwo", {-7, 8.5f, 9}));
    scene.items.push_back(host::makeObjectItem("Empty", "c.lwo", {}));
    const host::HostProcess process;
    const host::HostServices standIn(scene, 30.0);
    const auto &hostItems = standInService<PlofItemInfo>(PLOF_SERVICE_ITEM_INFO);
    const auto &hostObjects = standInService<PlofObjectInfo>(PLOF_SERVICE_OBJECT_INFO);
    const auto &hostAccess = standInService<PlofObjectAccess>(PLOF_SERVICE_OBJECT_ACCESS);

    FakeHostServices fake;
    fake.addItem("Emitter", {{1, 2, 3}, {4, 5, 6}});
    fake.addItem("Wall", {{-7, 8.5f, 9}});
    fake.addItem("Empty");
    const ModuleState &state = moduleState();

    // The object items in order, each with its name.
    PlofItemId hostItem = hostItems.first(PLOF_ITEM_OBJECT, 0);
    PlofItemId fakeItem = state.itemInfo->first(PLOF_ITEM_OBJECT, 0);
    int walked = 0;
    while (hostItem != 0 || fakeItem != 0) {
        ASSERT_EQ(fakeItem, hostItem) << "item " << walked;
        EXPECT_EQ(std::string(state.itemInfo->name(fakeItem)), hostItems.name(hostItem));
        // The points, through the object's access handle, and none past the last.
        const int32_t count = hostObjects.pointCount(hostItem);
        EXPECT_EQ(state.objectInfo->pointCount(fakeItem), count);
        void *hostHandle = hostAccess.accessHandle(hostObjects.meshSource(hostItem));
        void *fakeHandle = state.objectAccess->accessHandle(state.objectInfo->meshSource(fakeItem));
        for (int32_t point = 0; point <= count; ++point) {
            const float *expected = hostAccess.pointPosition(hostHandle, point);
            const float *actual = state.objectAccess->pointPosition(fakeHandle, point);
            ASSERT_EQ(actual == nullptr, expected == nullptr) << "item " << hostItem << " point " << point;
            if (!expected) continue;
            EXPECT_EQ(std::vector<float>(actual, actual + 3), std::vector<float>(expected, expected + 3));
        }
        // Still items rest at the origin with their axes along the world's.
        for (int32_t code : {PLOF_PARAM_W_POSITION, PLOF_PARAM_RIGHT, PLOF_PARAM_UP, PLOF_PARAM_FORWARD}) {
            double expected[3] = {9, 9, 9};
            double actual[3] = {7, 7, 7};
            hostItems.param(hostItem, code, 0.5, expected);
            state.itemInfo->param(fakeItem, code, 0.5, actual);
            EXPECT_EQ(Vec3({actual[0], actual[1], actual[2]}), Vec3({expected[0], expected[1], expected[2]}))
                << "item " << hostItem << " parameter " << code;
        }
        hostItem = hostItems.next(hostItem);
        fakeItem = state.itemInfo->next(fakeItem);
        ++walked;
    }
    EXPECT_EQ(walked, 3);
}

TEST(FakeHostServices, AnswersMotionAsFunctionsOfTime) {
    FakeHostServices host;
    const PlofItemId item = host.addItem("Mover");
    const PlofItemInfo &items = *moduleState().itemInfo;
    double v[3] = {9, 9, 9};
    items.param(item, PLOF_PARAM_W_POSITION, 1.0, v);
    EXPECT_EQ(v[0] + v[1] + v[2], 0.0) << "at the origin by default";
    items.param(item, PLOF_PARAM_UP, 1.0, v);
    EXPECT_EQ(v[1], 1.0) << "identity axes by default";

    host.setPosition(item, [](double t) { return Vec3{t, 2 * t, 3}; });
    host.setAxes(item, Axes{{{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}});
    items.param(item, PLOF_PARAM_W_POSITION, 0.5, v);
    EXPECT_EQ(Vec3({v[0], v[1], v[2]}), (Vec3{0.5, 1, 3}));
    items.param(item, PLOF_PARAM_RIGHT, 0.5, v);
    EXPECT_EQ(Vec3({v[0], v[1], v[2]}), (Vec3{0, 0, -1}));
    items.param(item, PLOF_PARAM_FORWARD, 0.5, v);
    EXPECT_EQ(Vec3({v[0], v[1], v[2]}), (Vec3{1, 0, 0}));
    items.param(item, 5, 0.5, v);
    EXPECT_EQ(Vec3({v[0], v[1], v[2]}), (Vec3{0, 0, 0}));
    EXPECT_EQ(host.paramQueries(), 6);
}

TEST(FakeHostServices, GivesPointsThroughAccessHandles) {
    FakeHostServices host;
    const PlofItemId item = host.addItem("Mesh", {{1, 2, 3}, {4, 5, 6}});
    host.setPoints(0, {{7, 7, 7}});
    const ModuleState &state = moduleState();
    EXPECT_EQ(state.objectInfo->pointCount(item), 2);
    EXPECT_EQ(state.objectInfo->pointCount(0), 1);
    EXPECT_EQ(state.objectInfo->pointCount(42), 0);
    void *handle = state.objectAccess->accessHandle(state.objectInfo->meshSource(item));
    const float *p = state.objectAccess->pointPosition(handle, 1);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[0], 4.0f);
    EXPECT_EQ(p[2], 6.0f);
    EXPECT_EQ(state.objectAccess->pointPosition(handle, 2), nullptr);
    EXPECT_EQ(state.objectAccess->pointPosition(handle, -1), nullptr);
    EXPECT_EQ(state.objectAccess->pointPosition(nullptr, 0), nullptr);
    host.setPointsMissing(true);
    EXPECT_EQ(state.objectAccess->pointPosition(handle, 0), nullptr);
}

TEST(FakeHostServices, RecordsMessages) {
    FakeHostServices host;
    moduleState().messages->error("First line", nullptr);
    moduleState().messages->error("Oops", "second");
    moduleState().messages->info("Note", "more");
    ASSERT_EQ(host.messages().size(), 3u);
    EXPECT_TRUE(host.messages()[0].error);
    EXPECT_EQ(host.messages()[0].first, "First line");
    EXPECT_FALSE(host.messages()[0].second.has_value());
    EXPECT_EQ(host.messages()[1].second, "second");
    EXPECT_FALSE(host.messages()[2].error);
}

}  // namespace
}  // namespace plof
