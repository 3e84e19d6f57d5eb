#include <gtest/gtest.h>

#include <cstring>

#include "activation_host.h"
#include "plof/handler.h"
#include "plof/module.h"
#include "plugin/module_state.h"

extern "C" const PlofModuleDescriptor _mod_descrip;

namespace plof {
namespace {

using testing::ActivationHost;
constexpr PlofGlobalFunc global = ActivationHost::global;

TEST(ModuleDescriptor, IdentifiesTheModuleToTheHost) {
    EXPECT_EQ(_mod_descrip.sync, 0x04121994u);
    EXPECT_EQ(_mod_descrip.version, 2u);
    EXPECT_EQ(_mod_descrip.machine, 0x300u);
    ASSERT_NE(_mod_descrip.startup, nullptr);
    void *serverData = _mod_descrip.startup();
    EXPECT_EQ(serverData, reinterpret_cast<void *>(4));
    ASSERT_NE(_mod_descrip.shutdown, nullptr);
    _mod_descrip.shutdown(serverData);
}

TEST(ModuleDescriptor, ListsTheTwoServersThenThreeNulls) {
    const PlofServerRecord *servers = _mod_descrip.servers;
    ASSERT_NE(servers, nullptr);
    EXPECT_STREQ(servers[0].className, "DisplacementHandler");
    EXPECT_STREQ(servers[0].serverName, "PLOF!");
    EXPECT_STREQ(servers[1].className, "DisplacementInterface");
    EXPECT_STREQ(servers[1].serverName, "PLOF!");
    EXPECT_EQ(servers[2].className, nullptr);
    EXPECT_EQ(servers[2].serverName, nullptr);
    EXPECT_EQ(servers[2].activate, nullptr);
}

TEST(ModuleDescriptor, TheHandlerServerActivatesTheHandler) {
    test::FakeHostServices host;
    resetModuleState();
    ActivationHost::current() = ActivationHost{};
    PlofHandlerOperations table{};
    EXPECT_EQ(_mod_descrip.servers[0].activate(2, global, &table), PLOF_ACTIVATE_OK);
    EXPECT_NE(table.describe, nullptr);
    EXPECT_NE(moduleState().objectAccess, nullptr);
}

TEST(ModuleDescriptor, TheInterfaceServerAcceptsOnlyVersion1AndNeedsAPanel) {
    test::FakeHostServices host;
    ActivationHost::current() = ActivationHost{};
    int marker = 0;
    EXPECT_EQ(_mod_descrip.servers[1].activate(2, global, &marker), PLOF_ACTIVATE_BAD_VERSION);
    EXPECT_EQ(_mod_descrip.servers[1].activate(0, global, &marker), PLOF_ACTIVATE_BAD_VERSION);
    EXPECT_EQ(_mod_descrip.servers[1].activate(1, global, &marker), PLOF_ACTIVATE_BAD_SERVICES)
        << "the fake host has no panel services";
}

}  // namespace
}  // namespace plof
