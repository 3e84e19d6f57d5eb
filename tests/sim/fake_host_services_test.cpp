// The fake host is shared by many suites: its contract is checked here.
#include "support/fake_host_services.h"

#include <gtest/gtest.h>

#include <string>

#include "plugin/module_state.h"

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
