// OutputFile's rule for every file the host writes: replace a regular file
// only when complete, write through a link to its target, write straight
// into a device or FIFO, and leave the old file as it was on any failure.
#include "host/files/output_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "host/base/host_error.h"

namespace plof::host {
namespace {

namespace fs = std::filesystem;

class OutputFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = fs::temp_directory_path() /
                     ("plof_output_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(directory_);
        fs::create_directories(directory_);
    }
    void TearDown() override { fs::remove_all(directory_); }

    std::string path(const std::string &name) const { return (directory_ / name).string(); }
    void write(const std::string &name, const std::string &bytes) const {
        std::ofstream(directory_ / name, std::ios::binary) << bytes;
    }
    std::string read(const std::string &name) const {
        std::ifstream in(directory_ / name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Every name in the directory: a temporary file left behind shows here.
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto &entry : fs::directory_iterator(directory_)) found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

    fs::path directory_;
};

TEST_F(OutputFileTest, RegularFileIsReplacedOnlyWhenComplete) {
    write("out.csv", "old");
    {
        OutputFile file(path("out.csv"));
        file.write("new ");
        EXPECT_EQ(read("out.csv"), "old") << "the target is untouched until commit";
        file.write("text");
        file.commit();
    }
    EXPECT_EQ(read("out.csv"), "new text");
    {
        OutputFile abandoned(path("out.csv"));
        abandoned.write("half");
    }
    EXPECT_EQ(read("out.csv"), "new text");
    EXPECT_EQ(names(), std::vector<std::string>{"out.csv"});

    writeOutputFile(path("fresh.csv"), "made");
    EXPECT_EQ(read("fresh.csv"), "made");
    EXPECT_THROW(writeOutputFile(path("missing/dir/x.csv"), "x"), OutputError);
}

TEST_F(OutputFileTest, LinkStaysALinkAndItsTargetIsReplaced) {
    fs::create_directories(directory_ / "real");
    write("real/scene.lws", "old");
    fs::create_symlink("real/scene.lws", directory_ / "link.lws");
    fs::create_symlink("link.lws", directory_ / "link-to-link.lws");
    writeOutputFile(path("link-to-link.lws"), "new");
    EXPECT_TRUE(fs::is_symlink(directory_ / "link.lws"));
    EXPECT_TRUE(fs::is_symlink(directory_ / "link-to-link.lws"));
    EXPECT_EQ(read("real/scene.lws"), "new");
    EXPECT_EQ(names(), (std::vector<std::string>{"link-to-link.lws", "link.lws", "real"}));

    // A dangling link gets its file made; a loop of links is an error.
    fs::create_symlink("real/later.lws", directory_ / "dangling.lws");
    writeOutputFile(path("dangling.lws"), "made");
    EXPECT_EQ(read("real/later.lws"), "made");
    fs::create_symlink("loop-b", directory_ / "loop-a");
    fs::create_symlink("loop-a", directory_ / "loop-b");
    EXPECT_THROW(writeOutputFile(path("loop-a"), "x"), OutputError);
}

TEST_F(OutputFileTest, FifoIsWrittenDirectly) {
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = read("pipe"); });
    writeOutputFile(path("pipe"), "through the pipe");
    reader.join();
    EXPECT_EQ(received, "through the pipe");
    struct stat status;
    ASSERT_EQ(::lstat(path("pipe").c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
}

TEST_F(OutputFileTest, DeviceIsWrittenDirectly) {
    if (::geteuid() != 0) GTEST_SKIP() << "making a device node needs root";
    // A node of the null device: writing succeeds and it stays a device.
    ASSERT_EQ(::mknod(path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    writeOutputFile(path("null"), "discarded");
    struct stat status;
    ASSERT_EQ(::lstat(path("null").c_str(), &status), 0);
    EXPECT_TRUE(S_ISCHR(status.st_mode));
    EXPECT_EQ(names(), std::vector<std::string>{"null"});
}

TEST_F(OutputFileTest, WriteFailureLeavesTheOldFileAndNoTemporary) {
    write("big.csv", "old");
    // In a child: the size limit must not reach the test program's own files.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            writeOutputFile(path("big.csv"), std::string(100000, 'x'));
        } catch (const OutputError &error) {
            const std::string message = error.what();
            ::_exit(message.find("big.csv: cannot write (File too large)") != std::string::npos ? 0 : 2);
        }
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no error raised, 2: the message lacks the path or the reason";
    EXPECT_EQ(read("big.csv"), "old");
    EXPECT_EQ(names(), std::vector<std::string>{"big.csv"});
}

}  // namespace
}  // namespace plof::host
