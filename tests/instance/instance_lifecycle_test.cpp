#include "instance/instance_lifecycle.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>
#include <string>

#include "instance/displacement.h"
#include "instance/module_state.h"
#include "support/fake_host_services.h"

// The module answers a failed allocation with "No memory"; let the address
// sanitizer's allocator fail the way the system's does instead of aborting.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char *__asan_default_options() { return "allocator_may_return_null=1"; }
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
extern "C" const char *__asan_default_options() { return "allocator_may_return_null=1"; }
#endif
#endif

namespace plof {
namespace {

using test::FakeHostServices;
using Points = std::vector<std::array<float, 3>>;

struct Destroy {
    void operator()(HandlerInstance *instance) const { destroyInstance(instance); }
};
using Instance = std::unique_ptr<HandlerInstance, Destroy>;

Instance create(PlofItemId item) {
    const char *error = nullptr;
    Instance instance(createInstance(&error, item));
    EXPECT_NE(instance, nullptr) << (error != nullptr ? error : "");
    return instance;
}

// Memory cannot run out for a 257 GB request when the kernel grants every
// request and fails only when pages are touched.
bool kernelRefusesHugeRequests() {
    std::ifstream mode("/proc/sys/vm/overcommit_memory");
    int value = 0;
    return !(mode >> value) || value != 1;
}

// The first point of the object that the instance's objectHandle refers to.
std::array<float, 3> firstPointOfHandle(const HandlerInstance &instance) {
    const float *point = moduleState().objectAccess->pointPosition(instance.objectHandle, 0);
    if (point == nullptr) return {-1, -1, -1};
    return {point[0], point[1], point[2]};
}

class InstanceLifecycle : public ::testing::Test {
protected:
    void SetUp() override {
        fountain = host.addItem("Fountain", Points(500, {1, 2, 3}));
        rock = host.addItem("Rock", Points(7, {4, 5, 6}));
        empty = host.addItem("Empty");
        avoid = host.addItem("Avoid", Points(3));
    }

    FakeHostServices host;
    PlofItemId fountain = 0, rock = 0, empty = 0, avoid = 0;
};

// The emitter settings of a new instance are checked through its saved
// block (keyword_block_test); these are the fields the block does not carry.
TEST_F(InstanceLifecycle, ANewInstanceStartsAtFrame0WithIndexedParticles) {
    Instance instance = create(fountain);
    EXPECT_EQ(instance->item, fountain);
    EXPECT_EQ(instance->pointCount, 500);
    EXPECT_EQ(instance->pointCursor, 0);
    EXPECT_EQ(instance->time, 0.0);
    EXPECT_EQ(instance->frame, 0);
    EXPECT_EQ(instance->refResolved, 0);
    EXPECT_EQ(instance->bakeMode, 0);
    EXPECT_EQ(instance->refItem, 0u);
    EXPECT_STREQ(instance->refName.data(), "");
    EXPECT_EQ(instance->frameStep, 1);
    EXPECT_EQ(instance->alignH, 0);
    EXPECT_EQ(instance->hpbMin, (Vec3{0, 0, 0}));
    EXPECT_EQ(instance->hpbMax, (Vec3{0, 0, 0}));
    EXPECT_EQ(instance->scaleCtl + instance->dslvCtl, 0);
    EXPECT_EQ(instance->objectList.count, 1);
    EXPECT_STREQ(instance->objectList.names[0].data(), "none");
    ASSERT_NE(instance->particles, nullptr);
    for (int32_t i = 0; i < instance->pointCount; ++i) {
        EXPECT_EQ(instance->particles[i].index, i);
        // Creation does not draw launch data.
        EXPECT_EQ(instance->particles[i].lifetime, 0);
        EXPECT_EQ(instance->particles[i].launchVelocity, (Vec3{0, 0, 0}));
    }
}

TEST_F(InstanceLifecycle, AnObjectWithoutPointsGivesAnEmptyInstance) {
    Instance instance = create(empty);
    EXPECT_EQ(instance->pointCount, 0);
}

TEST_F(InstanceLifecycle, Version1HostsCreateForItem0) {
    host.setPoints(0, Points(9, {7, 8, 9}));
    Instance instance = create(0);
    EXPECT_EQ(instance->item, 0u);
    EXPECT_EQ(instance->pointCount, 9) << "the count the host reports for item 0";
    EXPECT_EQ(firstPointOfHandle(*instance), (std::array<float, 3>{7, 8, 9}));
}

TEST_F(InstanceLifecycle, ImpossiblePointCountsAreReportedAsNoMemory) {
    static int32_t reportedCount = 0;
    PlofObjectInfo objectInfo = *moduleState().objectInfo;
    objectInfo.pointCount = [](PlofItemId) { return reportedCount; };
    moduleState().objectInfo = &objectInfo;

    reportedCount = -5;
    const char *error = nullptr;
    EXPECT_EQ(createInstance(&error, fountain), nullptr);
    EXPECT_STREQ(error, "No memory for new PLOF.");
    if (!kernelRefusesHugeRequests()) GTEST_SKIP() << "the kernel grants every allocation";
    reportedCount = std::numeric_limits<int32_t>::max();
    error = nullptr;
    EXPECT_EQ(createInstance(&error, fountain), nullptr);
    EXPECT_STREQ(error, "No memory for new PLOF.");
}

// Each instance keeps the handle of its own object: a later creation, a copy
// from another object and newTime leave it alone.
TEST_F(InstanceLifecycle, EachInstanceKeepsItsOwnObjectHandle) {
    Instance first = create(fountain);
    Instance second = create(rock);
    EXPECT_EQ(firstPointOfHandle(*first), (std::array<float, 3>{1, 2, 3}));
    EXPECT_EQ(firstPointOfHandle(*second), (std::array<float, 3>{4, 5, 6}));
    EXPECT_EQ(copyInstance(*second, *first, fountain), nullptr);
    newTime(*first, fountain, 3, 0.1);
    EXPECT_EQ(firstPointOfHandle(*first), (std::array<float, 3>{1, 2, 3}));
    EXPECT_EQ((std::array{first->objectPoints, second->objectPoints}), (std::array{500, 7}));
}

TEST_F(InstanceLifecycle, CopyPassesTheEmitterSettingsAndKeepsTheBakingSettings) {
    Instance from = create(rock);
    from->V0Min = 2.5, from->V0Max = 7.0, from->SpreadMin = 10, from->SpreadMax = 40;
    from->AgeMin = 3, from->AgeMax = 9, from->Gravity = -1.0, from->Regist = 0.25;
    from->Birth = 12, from->ReCycle = 0, from->START_F = 15, from->OrgEmit = 1;
    from->refResolved = 1, from->refItem = avoid;
    std::strcpy(from->refName.data(), "Avoid");
    from->frameStep = 4, from->alignH = 1;
    std::strcpy(from->objectList.names[0].data(), "spark.lwo");

    Instance to = create(fountain);
    to->time = 2.0, to->frame = 60, to->bakeMode = 1, to->frameStep = 3;
    to->hpbMin = {1, 2, 3}, to->hpbMax = {4, 5, 6}, to->scaleCtl = 1, to->dslvCtl = 1;
    std::strcpy(to->objectList.names[1].data(), "b.lwo");
    to->objectList.count = 2;

    EXPECT_EQ(copyInstance(*from, *to, 33), nullptr);

    EXPECT_EQ(to->item, 33u);
    EXPECT_EQ((std::array{to->V0Min, to->V0Max, to->Gravity, to->Regist}), (std::array{2.5, 7.0, -1.0, 0.25}));
    EXPECT_EQ((std::array{to->SpreadMin, to->SpreadMax, to->AgeMin, to->AgeMax, to->Birth, to->ReCycle, to->START_F}),
              (std::array{10, 40, 3, 9, 12, 0, 15}));
    EXPECT_EQ(to->OrgEmit, 1);
    EXPECT_EQ(to->refResolved, 1);
    EXPECT_EQ(to->refItem, avoid);
    EXPECT_STREQ(to->refName.data(), "Avoid");
    // The source's point count, and a fresh array of that length whose
    // lifetimes were drawn from the copied ages.
    EXPECT_EQ(to->pointCount, 7);
    for (int32_t i = 0; i < 7; ++i) {
        EXPECT_EQ(to->particles[i].index, i);
        EXPECT_GE(to->particles[i].lifetime, 3);
        EXPECT_LE(to->particles[i].lifetime, 8);
    }
    // What stays the destination's own.
    EXPECT_EQ(to->time, 2.0);
    EXPECT_EQ(to->frame, 60);
    EXPECT_EQ(to->bakeMode, 1);
    EXPECT_EQ((std::array{to->frameStep, to->alignH}), (std::array{3, 0}));
    EXPECT_EQ(to->hpbMin, (Vec3{1, 2, 3}));
    EXPECT_EQ(to->hpbMax, (Vec3{4, 5, 6}));
    EXPECT_EQ(to->scaleCtl + to->dslvCtl, 2);
    EXPECT_EQ(to->objectList.count, 2);
    EXPECT_STREQ(to->objectList.names[0].data(), "none");
    EXPECT_STREQ(to->objectList.names[1].data(), "b.lwo");
}

TEST_F(InstanceLifecycle, AFailedCopyLeavesAnInstanceWithoutParticles) {
    Instance from = create(rock);
    Instance to = create(fountain);
    from->pointCount = -1;  // an array of this length cannot exist
    EXPECT_STREQ(copyInstance(*from, *to, fountain), "No memory for new PLOF.");
    EXPECT_EQ(to->pointCount, 0);
    EXPECT_EQ(to->particles, nullptr);
    // Still a working instance: frames and points pass over it harmlessly,
    // and the next successful copy gives it particles again.
    newTime(*to, fountain, 5, 5 / 30.0);
    PlofDisplacementAccess access{{0, 0, 0}, {1, 2, 3}};
    evaluate(*to, access);
    EXPECT_EQ(access.position[1], 2.0);
    from->pointCount = 7;
    EXPECT_EQ(copyInstance(*from, *to, fountain), nullptr);
    EXPECT_EQ(to->pointCount, 7);
    ASSERT_NE(to->particles, nullptr);
    EXPECT_EQ(to->particles[6].index, 6);
    destroyInstance(nullptr);  // the host may hand back null
}

TEST_F(InstanceLifecycle, NewTimeLooksTheAvoidObjectUpOnceAndPlacesTheParticles) {
    Instance instance = create(fountain);
    instance->pointCursor = 42;
    std::strcpy(instance->refName.data(), "Avoid");
    const int64_t queriesBefore = host.paramQueries();

    EXPECT_EQ(newTime(*instance, rock, 20, 20 / 30.0), nullptr);
    EXPECT_EQ(instance->refItem, avoid);
    EXPECT_EQ(instance->refResolved, 1);
    EXPECT_EQ(instance->item, rock);
    EXPECT_EQ(instance->frame, 20);
    EXPECT_EQ(instance->time, 20 / 30.0);
    EXPECT_EQ(instance->pointCursor, 0);
    EXPECT_EQ(instance->pointCount, 500) << "newTime sets the item, not the point count";
    EXPECT_GT(host.paramQueries(), queriesBefore) << "the update read the items' motion";

    // Once resolved, later frames keep the item even if the name changes.
    std::strcpy(instance->refName.data(), "Rock");
    newTime(*instance, rock, 21, 0.7);
    EXPECT_EQ(instance->refItem, avoid);
}

TEST_F(InstanceLifecycle, ANewInstanceFindsNoAvoidObjectAtItsFirstFrame) {
    Instance instance = create(fountain);
    newTime(*instance, fountain, 0, 0.0);
    EXPECT_EQ(instance->refItem, 0u);
    EXPECT_EQ(instance->refResolved, 1);
}

}  // namespace
}  // namespace plof
