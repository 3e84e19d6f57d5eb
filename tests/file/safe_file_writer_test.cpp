#include "file/safe_file_writer.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "scene/scene_test_support.h"

namespace plof {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::ScratchDirectory;
using Mode = SafeFileWriter::Mode;

void writeFile(const fs::path &path, const std::string &bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// Writes `bytes` to `path` through the writer; the commit's result.
bool writeThrough(const fs::path &path, const std::string &bytes) {
    SafeFileWriter writer(path.string().c_str(), Mode::binary);
    if (writer.stream() == nullptr) return false;
    std::fwrite(bytes.data(), 1, bytes.size(), writer.stream());
    return writer.commit();
}

TEST(SafeFileWriter, ARegularFileIsReplacedWholeOnlyByACommit) {
    ScratchDirectory directory("safe_regular");
    const fs::path target = directory.file("out.txt");
    ASSERT_TRUE(writeThrough(target, "first"));
    EXPECT_EQ(readBytes(target), "first");
    writeFile(target, std::string(5000, 'o'));
    ASSERT_TRUE(writeThrough(target, "second"));
    EXPECT_EQ(readBytes(target), "second");
    {
        // Written but never committed: the old file stays, nothing else remains.
        SafeFileWriter writer(target.string().c_str(), Mode::binary);
        ASSERT_NE(writer.stream(), nullptr);
        std::fputs("abandoned", writer.stream());
    }
    EXPECT_EQ(readBytes(target), "second");
    EXPECT_EQ(directory.entries(), std::vector<std::string>{"out.txt"});
    // A directory in the way, and a missing directory, open nothing.
    fs::create_directory(directory.file("taken"));
    EXPECT_EQ(SafeFileWriter(directory.file("taken").string().c_str(), Mode::binary).stream(), nullptr);
    EXPECT_FALSE(writeThrough(directory.file("missing/out.txt"), "x"));
    EXPECT_EQ(SafeFileWriter("", Mode::binary).stream(), nullptr);
}

// The temporary file: beside the target, hidden, named for this process and
// a random number, made anew (never an existing file), and it keeps the
// permissions of the file it replaces.
TEST(SafeFileWriter, TheTemporaryIsANewHiddenFileOfThisProcessWithTheTargetsPermissions) {
    ScratchDirectory directory("safe_temporary");
    const fs::path target = directory.file("out.txt");
    const std::string prefix = temporaryNamePrefix(target.string());
    EXPECT_EQ(prefix, directory.file(".out.txt.tmp-" + std::to_string(::getpid()) + "-").string());
    writeFile(target, "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    {
        SafeFileWriter first(target.string().c_str(), Mode::text);
        SafeFileWriter second(target.string().c_str(), Mode::text);
        ASSERT_NE(first.stream(), nullptr);
        ASSERT_NE(second.stream(), nullptr);
        for (const SafeFileWriter *writer : {&first, &second}) {
            const std::string name = writer->temporary();
            ASSERT_EQ(name.rfind(prefix, 0), 0u) << name;
            const std::string number = name.substr(prefix.size());
            EXPECT_EQ(number.size(), 8u);
            EXPECT_EQ(number.find_first_not_of("0123456789abcdef"), std::string::npos) << number;
            EXPECT_TRUE(fs::is_regular_file(name));
        }
        EXPECT_NE(first.temporary(), second.temporary());
        std::fputs("new", first.stream());
        ASSERT_TRUE(first.commit());
        EXPECT_TRUE(first.temporary().empty());
    }
    EXPECT_EQ(readBytes(target), "new");
    struct stat status;
    ASSERT_EQ(::stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(directory.entries(), std::vector<std::string>{"out.txt"});

    // What stopped a writer is told: a directory in the target's place, a
    // missing directory for the temporary, a loop of links.
    fs::create_directory(directory.file("taken"));
    fs::create_symlink("loop", directory.file("loop"));
    const std::pair<const char *, SafeFileWriter::Step> failures[] = {
        {"taken", SafeFileWriter::Step::target},
        {"missing/out.txt", SafeFileWriter::Step::temporary},
        {"loop", SafeFileWriter::Step::links},
    };
    for (const auto &[name, step] : failures) {
        const SafeFileWriter writer(directory.file(name).string().c_str(), Mode::binary);
        EXPECT_EQ(writer.stream(), nullptr) << name;
        EXPECT_EQ(writer.failedStep(), step) << name;
        EXPECT_TRUE(writer.reason()) << name;
    }
}

TEST(SafeFileWriter, ALinkStaysALinkAndTheFileItNamesIsReplaced) {
    ScratchDirectory directory("safe_link");
    fs::create_directory(directory.file("real"));
    const fs::path real = directory.file("real") / "settings.plf";
    writeFile(real, "old");
    fs::create_symlink("real/settings.plf", directory.file("near"));
    fs::create_symlink("near", directory.file("chain"));
    ASSERT_TRUE(writeThrough(directory.file("chain"), "new"));
    EXPECT_TRUE(fs::is_symlink(directory.file("chain")));
    EXPECT_TRUE(fs::is_symlink(directory.file("near")));
    EXPECT_EQ(fs::read_symlink(directory.file("near")), "real/settings.plf");
    EXPECT_EQ(readBytes(real), "new");
    // The temporary file went beside the target and is gone.
    EXPECT_EQ(fs::directory_iterator(directory.file("real"))->path().filename(), "settings.plf");

    // A link to a file not there yet creates that file; a loop is refused.
    fs::create_symlink("real/later.plf", directory.file("ahead"));
    ASSERT_TRUE(writeThrough(directory.file("ahead"), "later"));
    EXPECT_TRUE(fs::is_symlink(directory.file("ahead")));
    EXPECT_EQ(readBytes(directory.file("real") / "later.plf"), "later");
    fs::create_symlink("loop", directory.file("loop"));
    EXPECT_FALSE(writeThrough(directory.file("loop"), "x"));
}

TEST(SafeFileWriter, ADeviceIsWrittenInPlace) {
    if (geteuid() != 0) GTEST_SKIP() << "creating a device node needs root";
    ScratchDirectory directory("safe_device");
    const fs::path device = directory.file("null");
    // The null device's numbers: whatever is written disappears.
    if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) GTEST_SKIP() << "mknod is not allowed here";
    ASSERT_TRUE(writeThrough(device, "to nowhere\n"));
    EXPECT_TRUE(fs::is_character_file(device));
    EXPECT_EQ(directory.entries(), std::vector<std::string>{"null"});
}

TEST(SafeFileWriter, AFifoIsWrittenInPlace) {
    ScratchDirectory directory("safe_fifo");
    const fs::path fifo = directory.file("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // With the read end open, opening the write end does not block.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_TRUE(writeThrough(fifo, "through the pipe\n"));
    char received[64] = {};
    const ssize_t length = ::read(reader, received, sizeof received - 1);
    ::close(reader);
    EXPECT_EQ(std::string(received, length > 0 ? static_cast<std::size_t>(length) : 0), "through the pipe\n");
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(directory.entries(), std::vector<std::string>{"pipe"});
}

TEST(SafeFileWriter, AWriteCutShortByAFileSizeLimitLeavesTheOldFile) {
    ScratchDirectory directory("safe_limit");
    const fs::path target = directory.file("scene.lws");
    writeFile(target, "old scene");
    // In a child process, so the limit and the ignored signal stay there.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{100, 100};
        if (setrlimit(RLIMIT_FSIZE, &small) != 0) _exit(2);
        _exit(writeThrough(target, std::string(100000, 'x')) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the commit reported success; 2: no limit could be set";
    EXPECT_EQ(readBytes(target), "old scene");
    EXPECT_EQ(directory.entries(), std::vector<std::string>{"scene.lws"});
}

}  // namespace
}  // namespace plof
