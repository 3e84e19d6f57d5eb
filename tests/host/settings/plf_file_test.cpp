#include "host/settings/plf_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/base/host_error.h"

namespace plof::host {
namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = std::filesystem::temp_directory_path() /
                     ("plof_settings_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        std::filesystem::create_directories(directory_);
    }
    void TearDown() override { std::filesystem::remove_all(directory_); }
    std::string write(const std::string &bytes) {
        const std::string path = (directory_ / "s.plf").string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string errorOf(const std::string &path) {
        try {
            readSettingsFile(path);
        } catch (const InputError &error) {
            return error.what();
        }
        return "(no error)";
    }
    std::filesystem::path directory_;
};

TEST_F(SettingsFileTest, LinesComeWithoutTheirLineEnds) {
    const SettingsLines settings = readSettingsFile(write("PLOF_START\r\nV0Min 2.000000\r\n\r\nPLOF_END\r\n"));
    EXPECT_EQ(settings.lines, (std::vector<std::string>{"PLOF_START", "V0Min 2.000000", "", "PLOF_END"}));
    EXPECT_TRUE(settings.warnings.empty());
}

TEST_F(SettingsFileTest, ATruncatedFileOnlyWarns) {
    const std::string path = write("PLOF_START\nV0Min 2.000000\nV0M");
    const SettingsLines settings = readSettingsFile(path);
    EXPECT_EQ(settings.lines.back(), "V0M");
    // "V0M" sets V0Min and has no value; then the file ends.
    ASSERT_EQ(settings.warnings.size(), 3u);
    EXPECT_EQ(settings.warnings[2], path +
                                        ":3: no PLOF_END line; the settings end with the file (here); add a "
                                        "PLOF_END line");
}

TEST_F(SettingsFileTest, FilesThatAreNotSettingsAreErrors) {
    std::string path = write("LWSC\n1\n");
    EXPECT_EQ(errorOf(path), path + ": line 1: a settings file begins with the line PLOF_START, found \"LWSC\"");
    path = write("");
    EXPECT_EQ(errorOf(path), path + ": line 1: a settings file begins with the line PLOF_START (the file is empty)");
    path = write(std::string("PLOF_START\nV0\0Min 1\n", 20));
    EXPECT_EQ(errorOf(path), path + ": line 2: binary data; a settings file is text");
    path = (directory_ / "none.plf").string();
    EXPECT_EQ(errorOf(path), path + ": no such settings file");
}

}  // namespace
}  // namespace plof::host
