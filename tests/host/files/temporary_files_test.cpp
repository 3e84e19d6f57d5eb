// The temporaries table a signal handler reads: whole paths only, nothing
// freed or rewritten while the handler has claimed it, and nothing noted
// that does not fit.
#include "host/files/temporary_files.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "host/base/host_context.h"

namespace plof::host {
namespace {

// What a removal callback saw; a plain function, as a signal handler's.
std::vector<std::string> gRemoved;
void recordRemoval(const char *path, Noted what) {
    gRemoved.emplace_back(std::string(what == Noted::prefix ? "prefix " : "") + path);
}

TEST(TemporaryFilesTest, NotesWholePathsUntilForgottenOrRemoved) {
    TemporaryFiles table;
    const std::size_t a = table.note("/tmp/a.tmp");
    const std::size_t b = table.note("/tmp/b.tmp");
    const std::size_t c = table.note("/tmp/.c.tmp-", Noted::prefix);
    ASSERT_LT(c, kTemporarySlots);
    EXPECT_STREQ(table.noted(a), "/tmp/a.tmp");
    table.forget(a);
    gRemoved.clear();
    table.removeAll(&recordRemoval);
    EXPECT_EQ(gRemoved, (std::vector<std::string>{"/tmp/b.tmp", "prefix /tmp/.c.tmp-"}));
    EXPECT_EQ(table.noted(b), nullptr);
    EXPECT_EQ(table.noted(c), nullptr);

    EXPECT_EQ(table.note(std::string(kLongestTemporaryPath + 1, 'x')), kTemporarySlots);
    for (std::size_t i = 0; i < kTemporarySlots; ++i) ASSERT_EQ(table.note("/tmp/" + std::to_string(i)), i);
    EXPECT_EQ(table.note("/tmp/one-more"), kTemporarySlots);
}

// While the handler removes a slot, the thread that owns it forgets it and
// notes another file: the handler's path must stay as it was.
TemporaryFiles *gTable = nullptr;
int gCalls = 0;
bool gPathKept = false;
void forgetWhileRemoving(const char *path, Noted) {
    if (gCalls++ > 0) return;  // the other file, noted meanwhile, is removed too
    gTable->forget(0);
    const std::size_t other = gTable->note("/tmp/other-path.tmp");
    gPathKept = other != 0 && std::strcmp(path, "/tmp/claimed.tmp") == 0;
}

TEST(TemporaryFilesTest, AClaimedSlotIsNeitherFreedNorRewrittenUnderTheHandler) {
    TemporaryFiles table;
    gTable = &table;
    ASSERT_EQ(table.note("/tmp/claimed.tmp"), 0u);
    table.removeAll(&forgetWhileRemoving);
    EXPECT_TRUE(gPathKept);
    EXPECT_EQ(gCalls, 2);
    EXPECT_EQ(table.note("/tmp/again.tmp"), 0u);  // free once the handler is done
}

// Paths of one repeated letter, noted and forgotten by another thread: a
// path read half old, half new would mix two letters.
std::atomic<int> gTorn{0};
void checkWhole(const char *path, Noted) {
    const std::size_t length = std::strlen(path);
    if (length < 10 || std::strspn(path, std::string(1, path[0]).c_str()) != length) ++gTorn;
}

TEST(TemporaryFilesTest, AHandlerOnAnotherThreadReadsOnlyWholePaths) {
    TemporaryFiles table;
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int n = 0; !stop; ++n) {
            const std::size_t slot = table.note(std::string(10 + n % 50, static_cast<char>('a' + n % 26)));
            table.forget(slot);
        }
    });
    for (int i = 0; i < 20000; ++i) table.removeAll(&checkWhole);
    stop = true;
    writer.join();
    EXPECT_EQ(gTorn, 0);
}

TEST(TemporaryFilesTest, NotedTemporaryUsesTheInstalledContextsTable) {
    { const NotedTemporary unnoted("/tmp/nowhere.tmp"); }  // no context: nothing to note in, no failure
    TemporaryFiles table;
    HostContext context{.temporaries = &table};
    const ContextInstallation installed(context);
    {
        NotedTemporary noted("/tmp/x.tmp");
        const NotedTemporary moved(std::move(noted));
        EXPECT_STREQ(table.noted(0), "/tmp/x.tmp");
    }
    EXPECT_EQ(table.noted(0), nullptr);
}

// A noted start takes every file whose name begins with it (the module's
// temporaries, ".NAME.tmp-<process id>-<random>"), no other process's and no
// folder; a noted path takes that file.
TEST(TemporaryFilesTest, RemovesANotedFileOrTheFilesUnderANotedStart) {
    namespace fs = std::filesystem;
    const fs::path directory = fs::temp_directory_path() / "plof_temporary_files_removal";
    fs::remove_all(directory);
    fs::create_directories(directory / ".a.tmp-7-folder");
    for (const char *name : {".a.tmp-7-1", ".a.tmp-7-2", ".a.tmp-70-1", "a", "b"}) std::ofstream(directory / name);
    removeNoted((directory / ".a.tmp-7-").string().c_str(), Noted::prefix);
    removeNoted((directory / "b").string().c_str(), Noted::path);
    std::vector<std::string> left;
    for (const auto &entry : fs::directory_iterator(directory)) left.push_back(entry.path().filename());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".a.tmp-7-folder", ".a.tmp-70-1", "a"}));
    fs::remove_all(directory);
}

}  // namespace
}  // namespace plof::host
