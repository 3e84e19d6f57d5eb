// The package for the host's users: built from the Windows build, it holds
// the module as built, stripped of its debug information (kept beside the
// zip and named in the module's debug link), the settings reference, the
// example settings files, the install text and the runtime licences, under
// one folder named with the project's version. The stripped module loads
// and plays under Wine as the module as built does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>

#include "support/host_programs.h"
#include "win32/pe_image.h"

namespace plof::test {
namespace {

namespace fs = std::filesystem;

const std::string kName = std::string("plof-") + PLOF_VERSION + "-win32";

int runQuietly(const std::string &command, const fs::path &log) {
    return std::system((command + " >'" + log.string() + "' 2>&1").c_str());
}

// Builds the package once and unpacks it; the folder the zip holds, or a failure.
testing::AssertionResult unpackedPackage(fs::path &folder) {
    static fs::path unpacked;
    static std::string failure;
    if (unpacked.empty() && failure.empty()) {
        const fs::path directory = freshTestDirectory("package");
        const fs::path win32Build = fs::path(PLOF_WIN32_BIN_DIR).parent_path();
        const fs::path archive = fs::path(PLOF_SOURCE_DIR) / "build" / "dist" / (kName + ".zip");
        if (runQuietly("cmake --build '" + win32Build.string() + "' --target plof_package", directory / "build.txt")) {
            failure = "building the package failed:\n" + readFileBytes(directory / "build.txt");
        } else if (runQuietly("cd '" + directory.string() + "' && cmake -E tar xf '" + archive.string() + "'",
                              directory / "unpack.txt")) {
            failure = "unpacking " + archive.string() + " failed:\n" + readFileBytes(directory / "unpack.txt");
        } else {
            unpacked = directory / kName;
        }
    }
    if (!failure.empty()) return testing::AssertionFailure() << failure;
    folder = unpacked;
    return testing::AssertionSuccess();
}

// The CRC-32 (polynomial 0xEDB88320) that a GNU debug link holds of its debug file.
uint32_t crc32Of(const std::string &bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (const unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

bool hasDebugSections(const PeImage &image) {
    for (const std::string &name : image.sectionNames()) {
        if (name.starts_with(".debug")) return true;
    }
    return false;
}

TEST(PackageTest, ArchiveHoldsTheModuleItsDocumentsAndLicences) {
    PLOF_SKIP_WITHOUT_WINDOWS_BUILD();
    fs::path folder;
    ASSERT_TRUE(unpackedPackage(folder));
    std::set<std::string> listed;
    for (const auto &entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) listed.insert(fs::relative(entry.path(), folder).generic_string());
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
    const std::string install = readFileBytes(folder / "INSTALL.txt");
    EXPECT_NE(install.find(std::string("PLOF! ") + PLOF_VERSION), std::string::npos) << install;
    EXPECT_NE(install.find("Add Plug-ins"), std::string::npos);
    EXPECT_NE(readFileBytes(folder / "licenses" / "gcc-runtime.txt").find("GCC Runtime Library Exception"),
              std::string::npos);
}

TEST(PackageTest, ModuleIsTheBuiltCodeWithoutDebugInformationWhichLiesBesideTheZip) {
    PLOF_SKIP_WITHOUT_WINDOWS_BUILD();
    fs::path folder;
    ASSERT_TRUE(unpackedPackage(folder));
    const PeImage shipped(folder / "plof.p");
    const PeImage built(windowsBinDir() / "plof.p");
    ASSERT_EQ(shipped.error(), "");
    ASSERT_TRUE(hasDebugSections(built)) << "the Windows build has no debug information to keep";
    EXPECT_FALSE(hasDebugSections(shipped)) << testing::PrintToString(shipped.sectionNames());
    EXPECT_EQ(shipped.exportNames(), built.exportNames());
    EXPECT_FALSE(shipped.sectionBytes(".text").empty());
    EXPECT_TRUE(shipped.sectionBytes(".text") == built.sectionBytes(".text")) << "the code differs from the build's";
    EXPECT_TRUE(shipped.sectionBytes(".rdata") == built.sectionBytes(".rdata"));

    // The debug link: the debug file's name, NUL-padded to 4 bytes, then its CRC-32.
    const std::string link = shipped.sectionBytes(".gnu_debuglink");
    const std::string linkedName = link.substr(0, link.find('\0'));
    ASSERT_EQ(linkedName, "plof.p.debug");
    const std::size_t crcOffset = (linkedName.size() + 4) / 4 * 4;
    ASSERT_GE(link.size(), crcOffset + 4);
    uint32_t linkedCrc = 0;
    for (std::size_t i = 4; i-- > 0;) linkedCrc = linkedCrc << 8 | static_cast<unsigned char>(link[crcOffset + i]);

    const fs::path debugFile = fs::path(PLOF_SOURCE_DIR) / "build" / "dist" / (kName + "-debug") / linkedName;
    ASSERT_TRUE(fs::exists(debugFile)) << debugFile;
    EXPECT_EQ(crc32Of(readFileBytes(debugFile)), linkedCrc) << debugFile << " is not the one the module names";
    const PeImage debug(debugFile);
    const std::vector<std::string> debugSections = debug.sectionNames();
    EXPECT_NE(std::find(debugSections.begin(), debugSections.end(), ".debug_info"), debugSections.end())
        << testing::PrintToString(debugSections);
}

TEST(PackageTest, PackedModulePlaysUnderWineAsTheBuiltOne) {
    PLOF_SKIP_WITHOUT_WINDOWS_BUILD();
    fs::path folder;
    ASSERT_TRUE(unpackedPackage(folder));
    const fs::path directory = freshTestDirectory("package_play");
    const std::vector<std::string> play = {
        "play",
        "--object",
        "builtin:sphere:200",
        "--settings",
        hostPath(Build::windows, fs::path(PLOF_SOURCE_DIR) / "examples" / "settings" / "fountain.plf"),
        "--frames",
        "0..40"};
    const ProgramRun asBuilt = runHost(Build::windows, play, directory);
    std::vector<std::string> packed = play;
    packed.insert(packed.end(), {"--module", hostPath(Build::windows, folder / "plof.p")});
    const ProgramRun fromPackage = runHost(Build::windows, packed, directory);
    ASSERT_EQ(asBuilt.exitCode, 0) << asBuilt.err;
    ASSERT_EQ(fromPackage.exitCode, 0) << fromPackage.err;
    EXPECT_GT(fromPackage.out.size(), 1000u);
    EXPECT_TRUE(fromPackage.out == asBuilt.out) << "the packed module plays otherwise than the module as built";
}

}  // namespace
}  // namespace plof::test
