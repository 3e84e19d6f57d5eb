#include "panel/settings_file.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "panel/panel_fixture.h"

namespace plof::test {
namespace {

namespace fs = std::filesystem;
using Services = RecordingPanelServices;

constexpr const char *kAvoid = "                  Avoid Object ";

class SettingsFileTest : public PanelTest {
protected:
    void SetUp() override {
        directory = fs::temp_directory_path() /
                    ("plof_settings_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(directory);
        fs::create_directories(directory);
        host.directories[PLOF_DIRECTORY_OBJECTS] = directory.string();
    }
    void TearDown() override { fs::remove_all(directory); }

    std::string path(const std::string &name) const { return (directory / name).string(); }

    static std::string read(const std::string &file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static void write(const std::string &file, const std::string &text) {
        std::ofstream(file, std::ios::binary) << text;
    }

    // Presses one button of the options panel, then acts on the panel.
    void pressThen(const char *button, std::function<void(RecordedPanel &)> check = nullptr, int32_t close = kCancel) {
        openOptions([=](RecordedPanel &panel) {
            Services::press(panel.control(button));
            if (check) check(panel);
            return close;
        });
    }

    fs::path directory;
};

constexpr const char *kFreshBlock =
    "PLOF_START\nV0Min 1.000000\nV0Max 4.000000\nAgeMin 10.000000\nAgeMax 60.000000\n"
    "Gravity 9.800000\nRegist 0.000000\nSTART_F 0.000000\nBirth 100.000000\nReCycle 1.000000\n"
    "SpreadMin 0.000000\nSpreadMax 180.000000\nOrgEmit 0.000000\nREFERENCE\nnone\nPLOF_END\n";

TEST_F(SettingsFileTest, SavesTheNewInstanceBlockAndAppendsTheExtension) {
    host.chooseFile(path("fresh"));
    pressThen("S");
    EXPECT_EQ(read(path("fresh.plf")), kFreshBlock);
    ASSERT_EQ(host.fileRequests.size(), 1u);
    EXPECT_EQ(host.fileRequests[0].title, "save plf setting");
    EXPECT_EQ(host.fileRequests[0].name, ">setting.plf");
    EXPECT_EQ(host.fileRequests[0].path, directory.string());
    EXPECT_EQ(host.fileRequests[0].size, 256);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator{}), 1);
    EXPECT_TRUE(host.errors().empty());
}

TEST_F(SettingsFileTest, SavesWhatThePanelShowsAndLeavesTheInstanceAlone) {
    const PlofItemId rock = host.addItem("Rock");
    instance->refItem = rock;
    instance->Regist = 0.37;
    host.chooseFile(path("shown.plf"));
    openOptions([](RecordedPanel &panel) {
        Services::setNumber(panel.controlAt(0), 6.0);
        Services::setInteger(panel.control("BirthRate p/s"), 20);
        Services::setInteger(panel.control("OrgEmitter"), 0x101);
        Services::press(panel.control("S"));
        return kCancel;
    });
    const std::string text = read(path("shown.plf"));
    EXPECT_NE(text.find("V0Min 6.000000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Birth 20.000000\n"), std::string::npos) << text;
    // Read back as confirming reads: the untouched slider keeps 0.37 (it used
    // to give 7 / 20), the check box gives its low byte.
    EXPECT_NE(text.find("Regist 0.370000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("OrgEmit 1.000000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Gravity 9.800000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("REFERENCE\nRock\nPLOF_END\n"), std::string::npos) << text;
    // Cancelled: the instance never took the shown values.
    EXPECT_DOUBLE_EQ(instance->V0Min, 1.0);
    EXPECT_EQ(instance->Birth, 100);
    EXPECT_DOUBLE_EQ(instance->Regist, 0.37);
    EXPECT_EQ(instance->OrgEmit, 0);
    EXPECT_EQ(instance->refItem, rock);
}

TEST_F(SettingsFileTest, SavedFileLoadsBackIntoTheSameControls) {
    instance->V0Min = 1.2345678;
    instance->V0Max = 3.5;
    instance->AgeMin = 12;
    instance->AgeMax = 40;
    instance->Gravity = -2.5;
    instance->Regist = 0.37;
    instance->START_F = -3;
    instance->Birth = 77;
    instance->ReCycle = 0;
    instance->SpreadMin = 20;
    instance->SpreadMax = 95;
    instance->OrgEmit = 1;
    host.addItem("Tree");
    const PlofItemId cube = host.addItem("Cube");
    instance->refItem = cube;
    host.chooseFile(path("round.plf"));
    pressThen("S");

    TestInstance fresh(2);
    host.chooseFile(path("round.plf"));
    services.user = [cube](RecordedPanel &panel) {
        Services::press(panel.control("L"));
        EXPECT_DOUBLE_EQ(panel.controlAt(0).number, 1.234568);
        EXPECT_DOUBLE_EQ(panel.controlAt(1).number, 3.5);
        EXPECT_EQ(panel.controlAt(4).integer, 12);
        EXPECT_EQ(panel.controlAt(5).integer, 40);
        EXPECT_DOUBLE_EQ(panel.control("Gravity").number, -2.5);
        EXPECT_EQ(panel.control("Registance").integer, 7);  // the slider the saved instance showed
        EXPECT_EQ(panel.control("SparkFrame").integer, -3);
        EXPECT_EQ(panel.control("BirthRate p/s").integer, 77);
        EXPECT_EQ(panel.control("Recycle").integer, 0);
        EXPECT_EQ(panel.control("Spread Min").integer, 20);
        EXPECT_EQ(panel.control("Spread Max").integer, 95);
        EXPECT_EQ(panel.control("OrgEmitter").integer, 1);
        EXPECT_EQ(panel.control(kAvoid).integer, cube);
        return kCancel;
    };
    ASSERT_EQ(openOptionsPanel(1, &PanelFakeHost::global, &*fresh), 0);
    // Cancelled: the controls' values are gone, and so is the avoid object
    // (it used to stay).
    EXPECT_DOUBLE_EQ(fresh->V0Min, 1.0);
    EXPECT_EQ(fresh->refItem, 0u);
    EXPECT_STREQ(fresh->refName.data(), "");
    EXPECT_EQ(fresh->refResolved, 0);
    EXPECT_EQ(host.fileRequests.back().title, "load plf setting");
    EXPECT_EQ(host.fileRequests.back().name, "<setting.plf");
}

TEST_F(SettingsFileTest, ValuesTooLongForFixedNotationSaveAndLoadBackExactly) {
    host.chooseFile(path("huge.plf"));
    openOptions([](RecordedPanel &panel) {
        Services::setNumber(panel.control("Gravity"), 1e308);
        Services::setNumber(panel.controlAt(0), -1e308);
        Services::setNumber(panel.controlAt(1), DBL_MAX);
        Services::press(panel.control("S"));
        return kCancel;
    });
    const std::string text = read(path("huge.plf"));
    EXPECT_EQ(text,
              "PLOF_START\nV0Min -1e+308\nV0Max 1.7976931348623157e+308\nAgeMin 10.000000\n"
              "AgeMax 60.000000\nGravity 1e+308\nRegist 0.000000\nSTART_F 0.000000\nBirth 100.000000\n"
              "ReCycle 1.000000\nSpreadMin 0.000000\nSpreadMax 180.000000\nOrgEmit 0.000000\nREFERENCE\n"
              "none\nPLOF_END\n");
    host.chooseFile(path("huge.plf"));
    pressThen("L", nullptr, kConfirm);
    EXPECT_EQ(instance->Gravity, 1e308);
    EXPECT_EQ(instance->V0Min, -1e308);
    EXPECT_EQ(instance->V0Max, DBL_MAX);
}

TEST_F(SettingsFileTest, ConfirmingALoadedFileStoresItAndQuantisesRegist) {
    write(path("edit.plf"), "PLOF_START\nRegist 0.370000\nAgeMin 12.9\nSpreadMax -3.7\nPLOF_END\n");
    host.chooseFile(path("edit.plf"));
    pressThen("L", nullptr, kConfirm);
    EXPECT_DOUBLE_EQ(instance->Regist, 0.35);
    EXPECT_EQ(instance->AgeMin, 12);
    EXPECT_EQ(instance->SpreadMax, -3);
}

TEST_F(SettingsFileTest, WindowsLineEndsLoadOnEveryPlatform) {
    write(path("crlf.plf"),
          "PLOF_START\r\nV0Min 2.500000\r\nREFERENCE\r\nTree\r\n\r\nBirth 42.000000\r\nPLOF_END\r\nGravity 1.0\r\n");
    const PlofItemId tree = host.addItem("Tree");
    host.chooseFile(path("crlf.plf"));
    pressThen(
        "L",
        [tree](RecordedPanel &panel) {
            EXPECT_DOUBLE_EQ(panel.controlAt(0).number, 2.5);
            EXPECT_EQ(panel.control("BirthRate p/s").integer, 42);
            // Reading stopped at the end line.
            EXPECT_DOUBLE_EQ(panel.control("Gravity").number, 9.8);
            EXPECT_EQ(panel.control(kAvoid).integer, tree);
        },
        kConfirm);
    EXPECT_STREQ(instance->refName.data(), "Tree");
    EXPECT_TRUE(host.errors().empty());
}

TEST_F(SettingsFileTest, AFileWithoutEndLineIsReadToItsEnd) {
    // The last line names a keyword without a value: nothing to set.
    write(path("open.plf"), "PLOF_START\nBirth 5.0\nREFERENCE\nMissing object\nAgeMax 70.0\nBirth");
    instance->refItem = host.addItem("Tree");
    host.chooseFile(path("open.plf"));
    pressThen(
        "L",
        [](RecordedPanel &panel) {
            EXPECT_EQ(panel.control("BirthRate p/s").integer, 5);
            EXPECT_EQ(panel.controlAt(5).integer, 70);
            EXPECT_EQ(panel.control(kAvoid).integer, 0);
        },
        kConfirm);
    EXPECT_EQ(instance->refItem, 0u);
    EXPECT_STREQ(instance->refName.data(), "");
}

TEST_F(SettingsFileTest, ALineStartingWithASpaceEndsTheList) {
    write(path("space.plf"), " first line passes\nBirth 5.0\n stop here\nBirth 6.0\n");
    host.chooseFile(path("space.plf"));
    pressThen("L", [](RecordedPanel &panel) { EXPECT_EQ(panel.control("BirthRate p/s").integer, 5); });
    EXPECT_TRUE(host.errors().empty());
}

TEST_F(SettingsFileTest, SaveFailuresLeaveNothingBehind) {
    // Cancelled dialog and a one-character name: no file, no message.
    host.cancelFileDialog();
    pressThen("S");
    host.chooseFile("a");
    pressThen("S");
    EXPECT_TRUE(fs::is_empty(directory));
    EXPECT_TRUE(host.errors().empty());

    // A directory that does not exist.
    host.chooseFile(path("missing/dir/x.plf"));
    pressThen("S");
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_EQ(host.errors()[0], std::make_pair(std::string("Can't open PLOF! file"), std::string("<null>")));

    // A name with no room for ".plf" is refused, not cut.
    host.clearErrors();
    const std::string longName = path(std::string(255 - directory.string().size() - 3, 'n'));
    ASSERT_EQ(longName.size(), 253u);
    host.chooseFile(longName);
    pressThen("S");
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_EQ(host.errors()[0].first, "Can't open PLOF! file");
    EXPECT_TRUE(fs::is_empty(directory));
}

TEST_F(SettingsFileTest, AFailedReplaceKeepsWhatWasThere) {
    // The chosen name is taken by a directory: the finished file cannot be
    // moved there, and neither it nor the temporary file is left behind.
    fs::create_directories(path("taken.plf/inside"));
    host.chooseFile(path("taken.plf"));
    pressThen("S");
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_EQ(host.errors()[0].first, "Can't open PLOF! file");
    EXPECT_TRUE(fs::is_directory(path("taken.plf/inside")));
    EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator{}), 1);
}

TEST_F(SettingsFileTest, SavingOverAnExistingFileReplacesIt) {
    write(path("old.plf"),
          "old contents that are longer than the new block ........................"
          "...........................................................................\n"
          "...........................................................................\n"
          "...........................................................................\n");
    host.chooseFile(path("old.plf"));
    pressThen("S");
    EXPECT_EQ(read(path("old.plf")), kFreshBlock);
}

TEST_F(SettingsFileTest, CapitalExtensionsDoNotCount) {
    host.chooseFile(path("upper.PLF"));
    pressThen("S");
    EXPECT_TRUE(fs::exists(path("upper.PLF.plf")));

    host.chooseFile(path("upper.PLF"));
    pressThen("L");
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_EQ(host.errors()[0], std::make_pair(std::string("Error"), std::string("it's not PLOF! file")));
}

TEST_F(SettingsFileTest, LoadFailuresAreReportedAndChangeNothing) {
    // Cancelled dialog: nothing.
    host.cancelFileDialog();
    pressThen("L", [](RecordedPanel &panel) { EXPECT_DOUBLE_EQ(panel.control("Gravity").number, 9.8); });
    EXPECT_TRUE(host.errors().empty());

    // A file that cannot be opened puts the button's pattern back.
    host.chooseFile(path("absent.plf"));
    const std::string pattern = (directory / "*.plf").string();
    openOptions([&](RecordedPanel &panel) {
        Services::setText(panel.control("L"), "changed");
        Services::press(panel.control("L"));
        EXPECT_EQ(panel.control("L").text, pattern);
        return kCancel;
    });
    ASSERT_EQ(host.errors().size(), 1u);
    EXPECT_EQ(host.errors()[0].first, "Can't open PLOF! file");

    // An empty first line and an empty file fail the start-line test.
    host.clearErrors();
    write(path("empty-first.plf"), "\nBirth 5.0\nPLOF_END\n");
    write(path("empty.plf"), "");
    write(path("wrong.plf"), "PLOF_STARTED\nBirth 5.0\n");
    for (const char *name : {"empty-first.plf", "empty.plf", "wrong.plf"}) {
        host.chooseFile(path(name));
        pressThen("L", [](RecordedPanel &panel) { EXPECT_EQ(panel.control("BirthRate p/s").integer, 100); });
    }
    ASSERT_EQ(host.errors().size(), 3u);
    for (const auto &error : host.errors()) EXPECT_EQ(error.first, "Can't open PLOF! file");
    EXPECT_EQ(instance->refResolved, 0);
}

}  // namespace
}  // namespace plof::test
