// The host's check of files the module was asked to write: only a file that
// appeared or changed counts as written, and what is said about the others
// is what the host sees.
#include "host/files/written_file_check.h"

#include <gtest/gtest.h>

#include <fstream>

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

}  // namespace
}  // namespace plof::host
