// Telling a file's type from its name: the host's rule (any case, a name that
// is all extension has none) and the module's (the exact bytes).
#include "host/base/file_extension.h"

#include <gtest/gtest.h>

namespace plof::host {
namespace {

TEST(FileExtension, HostRuleIgnoresCaseAndLooksAtTheFileNameOnly) {
    EXPECT_TRUE(hasExtension("out.png", ".png"));
    EXPECT_TRUE(hasExtension("OUT.PNG", ".png"));
    EXPECT_TRUE(hasExtension("dir/a.Gltf", ".gltf"));
    EXPECT_TRUE(hasExtension("C:\\objects\\ball.LWO", ".lwo"));
    EXPECT_FALSE(hasExtension("out.png.txt", ".png"));
    EXPECT_FALSE(hasExtension("outpng", ".png"));
    // A name that is all extension names no type, wherever it stands.
    EXPECT_FALSE(hasExtension(".png", ".png"));
    EXPECT_FALSE(hasExtension("dir/.obj", ".obj"));
    EXPECT_FALSE(hasExtension("scene.lws/", ".lws"));
    // ".gltf" is not ".glb" and ".lwo" is not ".lw".
    EXPECT_FALSE(hasExtension("a.gltf", ".glb"));
    EXPECT_FALSE(hasExtension("a.lwo", ".lw"));
}

TEST(FileExtension, ModuleRuleIsTheExactBytes) {
    EXPECT_TRUE(hasModuleExtension("a.lwo", ".lwo"));
    EXPECT_TRUE(hasModuleExtension(".plf", ".plf"));
    EXPECT_FALSE(hasModuleExtension("a.LWO", ".lwo"));
    EXPECT_FALSE(hasModuleExtension("a.plf ", ".plf"));
}

}  // namespace
}  // namespace plof::host
