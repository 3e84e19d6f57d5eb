// The package for the host's users: built from the Windows build, it holds
// exactly the module as built, the settings reference, the example settings
// files, the install text and the runtime licences, under one folder named
// with the project's version.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>

#include "support/host_programs.h"

namespace plof::test {
namespace {

namespace fs = std::filesystem;

int runQuietly(const std::string &command, const fs::path &log) {
    return std::system((command + " >'" + log.string() + "' 2>&1").c_str());
}

TEST(PackageTest, ArchiveHoldsTheModuleItsDocumentsAndLicences) {
    PLOF_SKIP_WITHOUT_WINDOWS_BUILD();
    if (!fs::exists(fs::path(PLOF_SOURCE_DIR) / "docs" / "settings.md")) {
        GTEST_SKIP() << "docs/settings.md is not in this tree yet; the package needs it";
    }
    const fs::path directory = freshTestDirectory("package");
    const fs::path win32Build = fs::path(PLOF_WIN32_BIN_DIR).parent_path();
    ASSERT_EQ(runQuietly("cmake --build '" + win32Build.string() + "' --target plof_package", directory / "build.txt"), 0)
        << readFileBytes(directory / "build.txt");
    const std::string name = std::string("plof-") + PLOF_VERSION + "-win32";
    const fs::path archive = fs::path(PLOF_SOURCE_DIR) / "build" / "dist" / (name + ".zip");
    ASSERT_TRUE(fs::exists(archive)) << archive;

    ASSERT_EQ(runQuietly("cd '" + directory.string() + "' && cmake -E tar xf '" + archive.string() + "'",
                         directory / "unpack.txt"),
              0)
        << readFileBytes(directory / "unpack.txt");
    std::set<std::string> listed;
    for (const auto &entry : fs::recursive_directory_iterator(directory / name)) {
        if (entry.is_regular_file()) listed.insert(fs::relative(entry.path(), directory / name).generic_string());
    }
    const std::set<std::string> expected = {
        "plof.p",
        "INSTALL.txt",
        "settings.md",
        "examples/fountain.plf",
        "examples/radial_burst.plf",
        "examples/resistance.plf",
        "examples/snow.plf",
        "licenses/README.txt",
        "licenses/gcc-runtime.txt",
        "licenses/mingw-w64-runtime.txt",
    };
    EXPECT_EQ(listed, expected);
    EXPECT_TRUE(readFileBytes(directory / name / "plof.p") == readFileBytes(fs::path(PLOF_WIN32_BIN_DIR) / "plof.p"));
    const std::string install = readFileBytes(directory / name / "INSTALL.txt");
    EXPECT_NE(install.find(std::string("PLOF! ") + PLOF_VERSION), std::string::npos) << install;
    EXPECT_NE(install.find("Add Plug-ins"), std::string::npos);
    EXPECT_NE(readFileBytes(directory / name / "licenses" / "gcc-runtime.txt").find("GCC Runtime Library Exception"),
              std::string::npos);
}

}  // namespace
}  // namespace plof::test
