// The studio's confined mode of OutputFile and its ConfinedFolder: a plain
// file written only inside the folder opened at the start, never through a
// link or into a special file, an existing file kept unless replacing is
// asked, and the private work folder gone at the end.
#include "host/files/confined_folder.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "host/files/output_file.h"

namespace plof::host {
namespace {

namespace fs = std::filesystem;

class ConfinedFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("plof_confined_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "saves");
        fs::create_directories(root_ / "outside");
    }
    void TearDown() override { fs::remove_all(root_); }

    static std::string read(const fs::path &path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void write(const fs::path &path, const std::string &bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static void save(const ConfinedFolder &folder, const std::string &name, const std::string &bytes,
                     Placement placement = Placement::keepExisting) {
        OutputFile file(folder, name, placement);
        file.write(bytes);
        file.commit();
    }
    // The names in `directory` but the work folder.
    static std::vector<std::string> names(const fs::path &directory) {
        std::vector<std::string> found;
        for (const auto &entry : fs::directory_iterator(directory)) {
            const std::string name = entry.path().filename().string();
            if (!name.starts_with(".plof-studio-")) found.push_back(name);
        }
        std::sort(found.begin(), found.end());
        return found;
    }

    fs::path root_;
};

TEST_F(ConfinedFolderTest, WritesPlainFilesKeepingOrReplacingAsAsked) {
    const ConfinedFolder folder((root_ / "saves").string());
    save(folder, "a.plf", "first");
    EXPECT_EQ(read(root_ / "saves/a.plf"), "first");
    try {
        save(folder, "a.plf", "second");
        FAIL() << "an existing file was replaced";
    } catch (const ExistingFile &existing) {
        EXPECT_EQ(existing.name(), "a.plf");
        EXPECT_NE(std::string(existing.what()).find("a.plf exists in " + folder.path()), std::string::npos);
    }
    EXPECT_EQ(read(root_ / "saves/a.plf"), "first");
    save(folder, "a.plf", "third", Placement::replaceExisting);
    EXPECT_EQ(read(root_ / "saves/a.plf"), "third");
    // A file that appears while another is written is kept: the move refuses, no check before it.
    {
        OutputFile late(folder, "late.plf", Placement::keepExisting);
        late.write("ours");
        write(root_ / "saves/late.plf", "theirs");
        EXPECT_THROW(late.commit(), ExistingFile);
    }
    EXPECT_EQ(read(root_ / "saves/late.plf"), "theirs");
    // A file that is dropped leaves nothing behind.
    { OutputFile dropped(folder, "dropped.plf", Placement::keepExisting); }
    EXPECT_EQ(names(root_ / "saves"), (std::vector<std::string>{"a.plf", "late.plf"}));
}

TEST_F(ConfinedFolderTest, LinksAndSpecialFilesUnderTheNameAreRefusedUnopened) {
    write(root_ / "outside/kept.plf", "outside");
    fs::create_symlink(root_ / "outside/kept.plf", root_ / "saves/link.plf");
    fs::create_symlink(root_ / "outside/new.plf", root_ / "saves/dangling.plf");
    fs::create_directory_symlink(root_ / "outside", root_ / "saves/away");
    ASSERT_EQ(::mkfifo((root_ / "saves/pipe.lws").c_str(), 0600), 0);
    fs::create_directory(root_ / "saves/folder.glb");
    const ConfinedFolder folder((root_ / "saves").string());
    for (const std::string name : {"link.plf", "dangling.plf", "pipe.lws", "folder.glb"}) {
        for (const Placement placement : {Placement::keepExisting, Placement::replaceExisting}) {
            EXPECT_THROW(save(folder, name, "ours", placement), RefusedTarget) << name;  // a FIFO would block here
        }
    }
    // The module's files are moved into place under the same rule.
    write(folder.workPath("link.plf"), "ours");
    EXPECT_THROW(folder.place("link.plf", "link.plf", Placement::replaceExisting), RefusedTarget);
    EXPECT_EQ(read(root_ / "outside/kept.plf"), "outside");
    EXPECT_FALSE(fs::exists(root_ / "outside/new.plf"));
    EXPECT_TRUE(fs::is_symlink(root_ / "saves/link.plf"));
}

TEST_F(ConfinedFolderTest, TheFolderIsTheOneOpenedAndItsWorkFolderIsPrivateAndGoesAtTheEnd) {
    fs::create_directories(root_ / "first");
    fs::create_directory_symlink(root_ / "first", root_ / "chosen");
    fs::path work;
    {
        const ConfinedFolder folder((root_ / "chosen").string());
        EXPECT_EQ(folder.path(), fs::canonical(root_ / "first").string());
        // The link now leads elsewhere: saves still go where it led at the start.
        fs::remove(root_ / "chosen");
        fs::create_directory_symlink(root_ / "outside", root_ / "chosen");
        save(folder, "a.plf", "bytes");
        // The path a module writes by reaches the work folder whatever is renamed above it.
        const std::string modulePath = folder.workPath("m.plf");
        fs::rename(root_ / "first", root_ / "renamed");
        write(modulePath, "module");
        folder.place("m.plf", "m.plf", Placement::keepExisting);
        for (const auto &entry : fs::directory_iterator(root_ / "renamed")) {
            if (entry.path().filename().string().starts_with(".plof-studio-")) work = entry.path();
        }
        ASSERT_FALSE(work.empty());
        struct stat status;
        ASSERT_EQ(::stat(work.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0700u);
        write(folder.workPath("left.tmp"), "a file still being written at the end");
    }
    EXPECT_EQ(read(root_ / "renamed/a.plf"), "bytes");
    EXPECT_EQ(read(root_ / "renamed/m.plf"), "module");
    EXPECT_TRUE(names(root_ / "outside").empty());
    EXPECT_FALSE(fs::exists(work));
}

}  // namespace
}  // namespace plof::host
