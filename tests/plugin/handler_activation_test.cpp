#include "plugin/handler_activation.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "activation_host.h"
#include "instance/handler_instance.h"
#include "instance/module_state.h"
#include "plof/handler.h"
#include "plof/module.h"
#include "support/module_state_reset.h"

namespace plof {
namespace {

using testing::ActivationHost;
constexpr PlofGlobalFunc global = ActivationHost::global;
using Names = std::vector<std::string>;

const Names kAllServices = {"LW Object Info", "Directory Info", "LW Item Info",
                            "Info Messages",  "File Request",   "LWObjectAccess"};

// A table whose every slot holds a recognisable non-null value, to see which
// slots activation writes.
PlofHandlerOperations untouchedTable() {
    PlofHandlerOperations table;
    std::memset(&table, 0xA5, sizeof table);
    return table;
}

bool untouched(const void *slot, std::size_t size) {
    const auto *bytes = static_cast<const unsigned char *>(slot);
    for (std::size_t i = 0; i < size; ++i)
        if (bytes[i] != 0xA5) return false;
    return true;
}

class HandlerActivation : public ::testing::Test {
protected:
    void SetUp() override {
        ActivationHost::current() = ActivationHost{};
        fountain = host.addItem("Fountain", std::vector<std::array<float, 3>>(6));
        host.setPoints(0, std::vector<std::array<float, 3>>(2));
        resetModuleState();  // a freshly loaded module: no services yet
    }
    const Names &requests() { return ActivationHost::current().requests; }

    test::FakeHostServices host;
    PlofItemId fountain = 0;
};

TEST_F(HandlerActivation, Version2FillsNineSlotsThatReachTheInstance) {
    PlofHandlerOperations table = untouchedTable();
    EXPECT_EQ(activateHandler(2, global, &table), PLOF_ACTIVATE_OK);
    EXPECT_EQ(requests(), kAllServices);
    EXPECT_EQ(moduleState().global, global);

    const char *error = nullptr;
    PlofInstance instance = table.create.v2(&error, fountain);
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(static_cast<HandlerInstance *>(instance)->pointCount, 6);
    PlofInstance copy = table.create.v2(&error, fountain);
    static_cast<HandlerInstance *>(instance)->Birth = 7;
    EXPECT_EQ(table.copy.v2(instance, copy, fountain), nullptr);
    EXPECT_EQ(static_cast<HandlerInstance *>(copy)->Birth, 7);
    EXPECT_EQ(table.newTime(copy, fountain, 4, 0.5), nullptr);
    EXPECT_EQ(static_cast<HandlerInstance *>(copy)->frame, 4);
    PlofDisplacementAccess access{};
    table.evaluate(copy, &access);
    EXPECT_EQ(static_cast<HandlerInstance *>(copy)->pointCursor, 1);
    EXPECT_EQ(table.flags(copy), PLOF_FLAGS_OBJECT);
    EXPECT_STREQ(table.describe(copy), "PLOF! num is 6 ");

    PlofSaveState saving{nullptr, [](void *, const char *, int32_t) {}};
    EXPECT_EQ(table.save(copy, &saving), nullptr);
    PlofLoadState loading{nullptr, [](void *, char *buffer, int32_t) {
                              buffer[0] = '\0';
                              return -1;
                          }};
    EXPECT_EQ(table.load(copy, &loading), nullptr);
    table.destroy(copy);
    table.destroy(instance);
}

TEST_F(HandlerActivation, Version1FillsEightSlotsAndUsesItem0) {
    PlofHandlerOperations table = untouchedTable();
    EXPECT_EQ(activateHandler(1, global, &table), PLOF_ACTIVATE_OK);
    EXPECT_TRUE(untouched(&table.describe, sizeof table.describe)) << "the ninth slot is not written";
    for (const void *slot : {static_cast<const void *>(&table.create), static_cast<const void *>(&table.destroy),
                             static_cast<const void *>(&table.copy), static_cast<const void *>(&table.load),
                             static_cast<const void *>(&table.save), static_cast<const void *>(&table.newTime),
                             static_cast<const void *>(&table.evaluate), static_cast<const void *>(&table.flags)})
        EXPECT_FALSE(untouched(slot, sizeof(void *)));

    const char *error = nullptr;
    auto *instance = static_cast<HandlerInstance *>(table.create.v1(&error));
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance->item, 0u);
    EXPECT_EQ(instance->pointCount, 2) << "the host's count for item 0";
    instance->item = fountain;
    auto *copy = static_cast<HandlerInstance *>(table.create.v1(&error));
    EXPECT_EQ(table.copy.v1(instance, copy), nullptr);
    EXPECT_EQ(copy->item, 0u);
    table.destroy(copy);
    table.destroy(instance);
}

TEST_F(HandlerActivation, OtherVersionsAreRefusedAfterTheFirstTwoServices) {
    for (int32_t version : {0, 3, -1}) {
        ActivationHost::current().requests.clear();
        PlofHandlerOperations table = untouchedTable();
        EXPECT_EQ(activateHandler(version, global, &table), PLOF_ACTIVATE_BAD_VERSION);
        EXPECT_EQ(requests(), (Names{"LW Object Info", "Directory Info"}));
        EXPECT_TRUE(untouched(&table, sizeof table));
        // A refused activation stores nothing.
        EXPECT_EQ(moduleState().objectInfo, nullptr);
        EXPECT_EQ(moduleState().directoryInfo, nullptr);
    }
}

TEST_F(HandlerActivation, WithoutObjectInfoNothingElseHappens) {
    ActivationHost::current().missing = {"LW Object Info"};
    for (int32_t version : {1, 2, 3}) {
        ActivationHost::current().requests.clear();
        PlofHandlerOperations table = untouchedTable();
        EXPECT_EQ(activateHandler(version, global, &table), PLOF_ACTIVATE_BAD_SERVICES);
        EXPECT_EQ(requests(), (Names{"LW Object Info"}));
        EXPECT_TRUE(untouched(&table, sizeof table));
    }
}

TEST_F(HandlerActivation, ALaterMissingServiceStopsActivationWithTheTableFilled) {
    for (std::size_t missing = 2; missing < kAllServices.size(); ++missing) {
        ActivationHost::current().requests.clear();
        ActivationHost::current().missing = {kAllServices[missing]};
        PlofHandlerOperations table = untouchedTable();
        EXPECT_EQ(activateHandler(2, global, &table), PLOF_ACTIVATE_BAD_SERVICES) << kAllServices[missing];
        EXPECT_EQ(requests(), Names(kAllServices.begin(), kAllServices.begin() + static_cast<long>(missing) + 1));
        EXPECT_FALSE(untouched(&table.describe, sizeof table.describe));
        EXPECT_FALSE(untouched(&table.create, sizeof table.create));
    }
}

TEST_F(HandlerActivation, DirectoryInfoIsNotRequired) {
    ActivationHost::current().missing = {"Directory Info"};
    PlofHandlerOperations table = untouchedTable();
    EXPECT_EQ(activateHandler(2, global, &table), PLOF_ACTIVATE_OK);
    EXPECT_EQ(moduleState().directoryInfo, nullptr);
}

// A later activation that finds a service missing leaves the records of the
// last good one for the instances that exist (it used to null them).
TEST_F(HandlerActivation, AFailedActivationKeepsTheServicesOfTheLastGoodOne) {
    PlofHandlerOperations table{};
    ASSERT_EQ(activateHandler(2, global, &table), PLOF_ACTIVATE_OK);
    const PlofMessages *messages = moduleState().messages;
    ASSERT_NE(messages, nullptr);
    ActivationHost::current().missing = {"Info Messages"};
    EXPECT_EQ(activateHandler(2, global, &table), PLOF_ACTIVATE_BAD_SERVICES);
    EXPECT_EQ(moduleState().messages, messages);
    EXPECT_NE(moduleState().itemInfo, nullptr);
}

}  // namespace
}  // namespace plof
