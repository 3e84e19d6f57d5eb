// plof-host bake refuses bad flags with a usage error before it loads
// anything, so a mistake costs no run of the module.
#include "host_run.h"

namespace plof::e2e {
namespace {

TEST(BakeFlagsTest, BadFlagsAreRefusedBeforeTheModuleIsLoaded) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    // The module path does not exist: a usage error must come first.
    const std::string common = "bake --object builtin:line:2 --settings s.plf --module missing.p ";
    struct Case {
        std::string flags;
        const char *says;
    };
    const Case cases[] = {
        {"--frames 10", "--out"},
        {"--out x.lws --step 0", "--step must be 1 or more"},
        {"--out x.lws --hpb-min 1,2", "--hpb-min takes three numbers"},
        {"--out x.lws --objects a.obj", "\"a.obj\" is not an object file ending in .lwo"},
        {"--out x.lws --frames ten", "--frames takes a whole number"},
        {"--out x.lws --scale=1", "--scale takes no value"},
    };
    for (const Case &c : cases) {
        const HostRun run = runHost(common + c.flags, directory);
        EXPECT_EQ(run.exitCode, kExitUsage) << c.flags << "\n" << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.flags << "\n" << run.err;
        EXPECT_EQ(run.err.find("missing.p"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(directory.path() / "x.lws"));
}

}  // namespace
}  // namespace plof::e2e
