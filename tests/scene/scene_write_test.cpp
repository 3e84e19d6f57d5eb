#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <string>

#include "file/safe_file_writer.h"
#include "scene/scene_document.h"
#include "scene_edits.h"
#include "scene_test_support.h"

#if !defined(_WIN32)
#include <sys/resource.h>
#endif

namespace plof {
namespace {

using testing::readBytes;
using testing::ScratchDirectory;

void writeFile(const std::filesystem::path &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(SceneWrite, FreshSceneIsWrittenWithCrLfLineEnds) {
    ScratchDirectory directory("scene_write_fresh");
    ScenePtr document(createDefaultScene());
    const std::string path = directory.file("PLOF.lws").string();
    ASSERT_TRUE(writeScene(*document, path.c_str()));
    const std::string bytes = readBytes(path);
    // The 76 rows hold 1068 characters; each gets CR LF.
    EXPECT_EQ(bytes.size(), 1220u);
    const std::string head = "LWSC\r\n1\r\n\r\nFirstFrame 1\r\n";
    EXPECT_EQ(bytes.substr(0, head.size()), head);
    EXPECT_NE(bytes.find("\r\nDataOverlayLabel \r\nFullSceneParamEval 0\r\n"), std::string::npos);
    const std::string tail = "\r\nShowFieldChart 0\r\n\r\n";
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);
    std::size_t feeds = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n') continue;
        ++feeds;
        EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare line feed at byte " << i;
    }
    EXPECT_EQ(feeds, 76u);
    EXPECT_EQ(directory.entries(), std::vector<std::string>{"PLOF.lws"});
}

TEST(SceneWrite, ReplacesAnExistingFileWhole) {
    ScratchDirectory directory("scene_write_replace");
    const std::filesystem::path path = directory.file("PLOF.lws");
    writeFile(path, std::string(5000, 'x'));
    ScenePtr document(createDefaultScene());
    ASSERT_TRUE(writeScene(*document, path.string().c_str()));
    EXPECT_EQ(readBytes(path).size(), 1220u);
}

#if !defined(_WIN32)
TEST(SceneWrite, FailedWriteLeavesTheExistingFileAndNoLeftovers) {
    ScratchDirectory directory("scene_write_fail");
    const std::filesystem::path path = directory.file("PLOF.lws");
    writeFile(path, "old scene");
    ScenePtr document(createDefaultScene());

    // A file-size limit makes the writes fail part-way, as a full disk does.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = writeScene(*document, path.string().c_str());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(path), "old scene");
    EXPECT_EQ(directory.entries(), std::vector<std::string>{"PLOF.lws"});
}
#endif

TEST(SceneWrite, UnwritablePathsWriteNothing) {
    ScratchDirectory directory("scene_write_unwritable");
    ScenePtr document(createDefaultScene());
    EXPECT_FALSE(writeScene(*document, directory.file("missing/PLOF.lws").string().c_str()));
    EXPECT_FALSE(writeScene(*document, ""));

    // A directory in the way is not replaced.
    std::filesystem::create_directory(directory.file("taken"));
    writeFile(directory.file("taken") / "inside", "kept");
    EXPECT_FALSE(writeScene(*document, directory.file("taken").string().c_str()));
    EXPECT_EQ(readBytes(directory.file("taken") / "inside"), "kept");
    EXPECT_EQ(directory.entries(), std::vector<std::string>{"taken"});
}

// Temporary files of other writers (an older build's, another process's,
// one under this process's name start) are neither used nor removed.
TEST(SceneWrite, LeavesAForeignTemporaryFileAlone) {
    ScratchDirectory directory("scene_write_foreign");
    const std::filesystem::path path = directory.file("PLOF.lws");
    const std::string foreign[] = {path.string() + ".plof-tmp", directory.file(".PLOF.lws.tmp-1-0").string(),
                                   temporaryNamePrefix(path.string()) + "someone"};
    for (const std::string &name : foreign) writeFile(name, "someone else's");
    ScenePtr document(createDefaultScene());
    ASSERT_TRUE(writeScene(*document, path.string().c_str()));
    for (const std::string &name : foreign) EXPECT_EQ(readBytes(name), "someone else's") << name;
    EXPECT_EQ(readBytes(path).size(), 1220u);
    EXPECT_EQ(directory.entries().size(), 4u);
}

}  // namespace
}  // namespace plof
