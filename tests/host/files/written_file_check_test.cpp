// The host's check of files the module was asked to write: only a file that
// appeared or changed counts as written, and what is said about the others
// is what the host sees; and an interruption while the module writes one
// removes the module's temporary file.
#include "host/files/written_file_check.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>

#include "file/safe_file_writer.h"
#include "host/run/host_process.h"
#include "plof/bake_limit.h"

namespace plof::host {
namespace {

namespace fs = std::filesystem;

TEST(WrittenFileCheckTest, OnlyFilesThatAppearedOrChangedCountAsWritten) {
    const fs::path directory = fs::temp_directory_path() / "plof_written_file_check";
    fs::remove_all(directory);
    fs::create_directories(directory / "folder.plf");
    std::ofstream(directory / "kept.plf") << "old";
    std::ofstream(directory / "changed.plf") << "old";

    WrittenFileCheck check(10);
    for (const char *name : {"kept.plf", "changed.plf", "new.plf", "folder.plf", "never.plf"}) {
        check.expectFile((directory / name).string());
    }
    std::ofstream(directory / "changed.plf") << "new, longer";
    std::ofstream(directory / "new.plf") << "new";

    const std::vector<std::string> unwritten = check.unwritten();
    ASSERT_EQ(unwritten.size(), 3u);
    EXPECT_EQ(unwritten[0], (directory / "kept.plf").string() + ": the module wrote no file there");
    EXPECT_EQ(unwritten[1],
              (directory / "folder.plf").string() + ": the module wrote no file there; it is a directory");
    EXPECT_EQ(unwritten[2], (directory / "never.plf").string() + ": the module wrote no file there");
    fs::remove_all(directory);
}

TEST(WrittenFileCheckTest, ABakeBeyondTheLimitIsNamedWithItsCounts) {
    // Frames 0, 3, 6, 9 of 0..9: four samples.
    EXPECT_EQ(sampledFrames(10, 3), 4);
    EXPECT_EQ(sampledFrames(1, 5), 1);
    EXPECT_EQ(sampledFrames(0, 1), 0);
    EXPECT_EQ(sampledFrames(2147483647, 1), 2147483647);

    WrittenFileCheck check(PLOF_BAKE_MAX_SAMPLES / 4);
    check.expectScene("no/such/dir/fits.lws", 4, 1);
    check.expectScene("no/such/dir/big.lws", 10, 2);
    const std::vector<std::string> unwritten = check.unwritten();
    ASSERT_EQ(unwritten.size(), 2u);
    EXPECT_NE(unwritten[0].find("the directory \"no/such/dir\" does not exist"), std::string::npos) << unwritten[0];
    const std::string said = "the bake asked for " + std::to_string(PLOF_BAKE_MAX_SAMPLES / 4) +
                             " particles x 5 sampled frames, more than the " + std::to_string(PLOF_BAKE_MAX_SAMPLES);
    EXPECT_NE(unwritten[1].find(said), std::string::npos) << unwritten[1];
}

// The module writes through the same writer as here, under a random name
// the host cannot know: it is found by the start of its name, beside the
// file a link leads to. Another process's temporary file stays.
TEST(WrittenFileCheckTest, AnInterruptionRemovesTheModulesTemporaryFile) {
    const fs::path directory = fs::temp_directory_path() / "plof_written_file_interrupted";
    fs::remove_all(directory);
    fs::create_directories(directory / "real");
    fs::create_symlink("real/saved.plf", directory / "link.plf");
    const fs::path foreign = directory / "real" / ".saved.plf.tmp-1-0";
    std::ofstream(foreign) << "another process's";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const HostProcess process;
        WrittenFileCheck check(1);
        check.expectFile((directory / "link.plf").string());
        SafeFileWriter module((directory / "link.plf").string().c_str(), SafeFileWriter::Mode::text);
        if (module.stream() == nullptr || !fs::exists(module.temporary())) ::_exit(2);
        std::fputs("Birth 10\n", module.stream());
        std::fflush(module.stream());
        ::kill(::getpid(), SIGTERM);
        ::sleep(30);
        ::_exit(0);  // not reached: the signal ends the child
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "exit " << WEXITSTATUS(status);
    std::vector<std::string> left;
    for (const auto &entry : fs::directory_iterator(directory / "real")) left.push_back(entry.path().filename());
    EXPECT_EQ(left, std::vector<std::string>{".saved.plf.tmp-1-0"});
    fs::remove_all(directory);
}

}  // namespace
}  // namespace plof::host
