#include "host/module/module_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/base/host_error.h"

namespace plof::host {
namespace {

void *startup() { return reinterpret_cast<void *>(4); }
int32_t activate(int32_t, PlofGlobalFunc, void *) { return 0; }
int32_t otherActivate(int32_t, PlofGlobalFunc, void *) { return 1; }

const PlofServerRecord kServers[] = {
    {"DisplacementInterface", "PLOF!", &otherActivate},
    {"DisplacementHandler", "Other", &otherActivate},
    {"DisplacementHandler", "PLOF!", &activate},
    {nullptr, nullptr, nullptr},
};

PlofModuleDescriptor goodDescriptor() {
    return {PLOF_MODULE_SYNC, PLOF_MODULE_VERSION, PLOF_MODULE_MACHINE, &startup, nullptr, kServers};
}

TEST(ModuleLoaderTest, DescriptorChecksNameTheFileAndTheFault) {
    EXPECT_EQ(checkDescriptor(goodDescriptor(), "plof.p"), "");

    PlofModuleDescriptor badSync = goodDescriptor();
    badSync.sync = 0x04121995u;
    EXPECT_EQ(checkDescriptor(badSync, "m.p"),
              "m.p: not a plug-in module for this host (synchronisation word 0x04121995, expected 0x04121994)");

    PlofModuleDescriptor badVersion = goodDescriptor();
    badVersion.version = 3;
    EXPECT_NE(checkDescriptor(badVersion, "m.p").find("m.p: module descriptor version 3 is not supported"),
              std::string::npos);

    PlofModuleDescriptor badMachine = goodDescriptor();
    badMachine.machine = 0x8664;
    EXPECT_NE(checkDescriptor(badMachine, "m.p").find("machine code 0x00008664, expected 0x00000300"),
              std::string::npos);

    PlofModuleDescriptor noServers = goodDescriptor();
    noServers.servers = nullptr;
    EXPECT_NE(checkDescriptor(noServers, "m.p"), "");
}

TEST(ModuleLoaderTest, ServersAreFoundByClassAndName) {
    const PlofModuleDescriptor descriptor = goodDescriptor();
    EXPECT_EQ(findServer(descriptor, "DisplacementHandler", "PLOF!"), &activate);
    EXPECT_EQ(findServer(descriptor, "DisplacementHandler", nullptr), &otherActivate);
    EXPECT_EQ(findServer(descriptor, "DisplacementInterface", "PLOF!"), &otherActivate);
    EXPECT_EQ(findServer(descriptor, "ImageFilter", nullptr), nullptr);
}

std::string openError(const std::string &path) {
    try {
        LoadedModule::open(path);
    } catch (const ModuleError &error) {
        return error.what();
    }
    return "(no error)";
}

TEST(ModuleLoaderTest, FilesThatAreNotModulesAreRefusedWithoutACrash) {
    const auto directory = std::filesystem::temp_directory_path() /
                           ("plof_loader_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(directory);
    const std::string missing = (directory / "missing.p").string();
    EXPECT_EQ(openError(missing), missing + ": no such module file (give another with --module PATH)");

    const std::string garbage = (directory / "garbage.p").string();
    std::ofstream(garbage, std::ios::binary) << "this is not a library";
    EXPECT_NE(openError(garbage).find(garbage + ": cannot load the module: "), std::string::npos);
    std::filesystem::remove_all(directory);
}

#ifdef __linux__
TEST(ModuleLoaderTest, ALibraryWithoutTheDescriptorIsRefused) {
    // Any shared library that is not a plug-in module will do.
    std::string library;
    for (const char *candidate : {"/lib/x86_64-linux-gnu/libm.so.6", "/usr/lib/x86_64-linux-gnu/libm.so.6",
                                  "/lib/aarch64-linux-gnu/libm.so.6", "/lib64/libm.so.6", "/usr/lib64/libm.so.6"}) {
        if (std::filesystem::exists(candidate)) {
            library = candidate;
            break;
        }
    }
    if (library.empty()) {
        GTEST_SKIP() << "no libm found to stand in for a library without a descriptor";
    }
    EXPECT_EQ(openError(library), library + ": not a plug-in module: it exports no _mod_descrip");
}
#endif

}  // namespace
}  // namespace plof::host
