#include "plugin/module_descriptor.h"

#include <gtest/gtest.h>

#include <cstring>

#include "activation_host.h"
#include "instance/module_state.h"
#include "plof/handler.h"
#include "plof/module.h"
#include "support/module_state_reset.h"

namespace plof {
namespace {

using testing::ActivationHost;
constexpr PlofGlobalFunc global = ActivationHost::global;

// The activation of the server of `className` named `serverName`, found as
// the host finds it: walking the list up to the record of three nulls. Null
// when there is none; a second match fails the test.
PlofActivateFunc findAsTheHostDoes(const char *className, const char *serverName) {
    PlofActivateFunc found = nullptr;
    for (const PlofServerRecord *server = _mod_descrip.servers; server->className; ++server) {
        if (std::strcmp(server->className, className) != 0 || std::strcmp(server->serverName, serverName) != 0) {
            continue;
        }
        EXPECT_EQ(found, nullptr) << className << " " << serverName << " is listed twice";
        found = server->activate;
    }
    return found;
}

TEST(ModuleDescriptor, IdentifiesTheModuleToTheHost) {
    // What the host checks before it uses the module (include/plof/module.h).
    EXPECT_EQ(_mod_descrip.sync, PLOF_MODULE_SYNC);
    EXPECT_EQ(_mod_descrip.version, PLOF_MODULE_VERSION);
    EXPECT_EQ(_mod_descrip.machine, PLOF_MODULE_MACHINE);
    ASSERT_NE(_mod_descrip.startup, nullptr);
    // The host keeps start-up's answer and hands it back at shut-down; the
    // module's documented answer is the non-null value 4.
    void *serverData = _mod_descrip.startup();
    EXPECT_EQ(serverData, reinterpret_cast<void *>(4));
    ASSERT_NE(_mod_descrip.shutdown, nullptr);
    _mod_descrip.shutdown(serverData);
}

TEST(ModuleDescriptor, ListsTheTwoServersThenThreeNulls) {
    ASSERT_NE(_mod_descrip.servers, nullptr);
    const PlofActivateFunc handler = findAsTheHostDoes(PLOF_CLASS_DISPLACEMENT_HANDLER, PLOF_SERVER_NAME);
    const PlofActivateFunc panel = findAsTheHostDoes(PLOF_CLASS_DISPLACEMENT_INTERFACE, PLOF_SERVER_NAME);
    EXPECT_NE(handler, nullptr);
    EXPECT_NE(panel, nullptr);
    EXPECT_NE(handler, panel);
    EXPECT_EQ(findAsTheHostDoes(PLOF_CLASS_DISPLACEMENT_HANDLER, "PLOF"), nullptr) << "names match whole";
    // Nothing else is listed: the third record is the end, all three null.
    const PlofServerRecord &end = _mod_descrip.servers[2];
    EXPECT_EQ(end.className, nullptr);
    EXPECT_EQ(end.serverName, nullptr);
    EXPECT_EQ(end.activate, nullptr);
}

TEST(ModuleDescriptor, TheHandlerServerActivatesTheHandler) {
    test::FakeHostServices host;
    resetModuleState();
    ActivationHost::current() = ActivationHost{};
    PlofHandlerOperations table{};
    const PlofActivateFunc activate = findAsTheHostDoes(PLOF_CLASS_DISPLACEMENT_HANDLER, PLOF_SERVER_NAME);
    ASSERT_NE(activate, nullptr);
    EXPECT_EQ(activate(2, global, &table), PLOF_ACTIVATE_OK);
    EXPECT_NE(table.describe, nullptr);
    EXPECT_NE(moduleState().objectAccess, nullptr);
}

TEST(ModuleDescriptor, TheInterfaceServerAcceptsOnlyVersion1AndNeedsAPanel) {
    test::FakeHostServices host;
    ActivationHost::current() = ActivationHost{};
    const PlofActivateFunc activate = findAsTheHostDoes(PLOF_CLASS_DISPLACEMENT_INTERFACE, PLOF_SERVER_NAME);
    ASSERT_NE(activate, nullptr);
    int marker = 0;
    EXPECT_EQ(activate(2, global, &marker), PLOF_ACTIVATE_BAD_VERSION);
    EXPECT_EQ(activate(0, global, &marker), PLOF_ACTIVATE_BAD_VERSION);
    EXPECT_EQ(activate(1, global, &marker), PLOF_ACTIVATE_BAD_SERVICES) << "the fake host has no panel services";
}

}  // namespace
}  // namespace plof
