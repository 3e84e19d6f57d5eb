// plof-host panel and play --panel-script: the module's options panel driven
// by a script, its settings saved in the host scene, its picture, and the
// script errors a user sees.
#include <cmath>
#include <map>

#include "host_run.h"

#if __has_include(<cairo.h>)
#include <cairo.h>
#define PLOF_TEST_READS_PNG 1
#endif

namespace plof::e2e {
namespace {

// The keyword lines between PLOF_START and PLOF_END of a saved host scene,
// keyword -> the rest of the line (REFERENCE -> the next line).
std::map<std::string, std::string> savedBlock(const std::string &scene) {
    std::map<std::string, std::string> values;
    std::istringstream in(scene);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "PLOF_START") {
            inside = true;
        } else if (line == "PLOF_END") {
            inside = false;
        } else if (inside && line == "REFERENCE") {
            std::getline(in, line);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            values["REFERENCE"] = line;
        } else if (inside) {
            const auto space = line.find(' ');
            values[line.substr(0, space)] = space == std::string::npos ? "" : line.substr(space + 1);
        }
    }
    return values;
}

const char *const kEditEverything =
    "# every setting of the options panel, by label or by number\n"
    "set \"      V0  Min \" 1.25\n"
    "set #2 2.5\n"
    "drag #3 -50          # the minimum speed rises by 0.5\n"
    "set \" Age Min frame \" 12\n"
    "set #6 48\n"
    "drag #7 1 20         # anchored at 12, then 10 frames lower\n"
    "set \"Gravity\" -3.5\n"
    "set \"SparkFrame\" 4\n"
    "set \"BirthRate p/s\" 45\n"
    "set \"Recycle\" on\n"
    "set \"Spread Min\" 30\n"
    "set \"Spread Max\" 60\n"
    "set \"Registance\" 7\n"
    "set \"OrgEmitter\" on\n"
    "set \"Avoid Object\" \"Emitter\"\n"
    "confirm\n";

TEST(PanelCommandTest, ScriptEditsEverySettingAndTheSavedBlockShowsThem) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    directory.write("edit.txt", kEditEverything);
    const HostRun run = runHost(
        "panel --object builtin:line:3 --settings s.plf --script edit.txt "
        "--save-scene saved.lws --snapshot panel.png",
        directory);
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    EXPECT_NE(run.err.find("confirmed"), std::string::npos) << run.err;
    const auto block = savedBlock(fileText(directory.path() / "saved.lws"));
    const std::map<std::string, std::string> expected = {
        {"V0Min", "1.750000"},    {"V0Max", "2.500000"},      {"AgeMin", "2.000000"},     {"AgeMax", "48.000000"},
        {"Gravity", "-3.500000"}, {"Regist", "0.350000"},     {"START_F", "4.000000"},    {"Birth", "45.000000"},
        {"ReCycle", "1.000000"},  {"SpreadMin", "30.000000"}, {"SpreadMax", "60.000000"}, {"OrgEmit", "1.000000"},
        {"REFERENCE", "Emitter"},
    };
    EXPECT_EQ(block, expected);

#ifdef PLOF_TEST_READS_PNG
    // The picture: the panel's 13 rows of 26 pixels, and the spread preview for
    // 30 to 60 degrees: 75 of its 520 pixels in the spread colour.
    cairo_surface_t *image = cairo_image_surface_create_from_png((directory / "panel.png").c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_height(image), 338);
    EXPECT_GE(cairo_image_surface_get_width(image), 420);
    const unsigned char *data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    auto rgb = [&](int x, int y) { return *reinterpret_cast<const uint32_t *>(data + y * stride + x * 4) & 0xFFFFFFu; };
    const uint32_t spreadColour = rgb(360, 114);  // j 10, k 10: inside 30..60
    const uint32_t otherColour = rgb(360, 122);   // j 10, k 2: outside
    EXPECT_NE(spreadColour, otherColour);
    int spread = 0, other = 0;
    for (int y = 107; y <= 142; ++y) {
        for (int x = 350; x <= 367; ++x) {
            spread += rgb(x, y) == spreadColour;
            other += rgb(x, y) == otherColour;
        }
    }
    EXPECT_EQ(spread, 75);
    EXPECT_EQ(other, 520 - 75);
    cairo_surface_destroy(image);
#endif
}

TEST(PanelCommandTest, CancelKeepsEverySettingAsLoaded) {
    TempDirectory directory;
    Settings settings;
    settings.Regist = 0.37;
    directory.write("s.plf", settings.text());
    directory.write("edit.txt", "set \"Gravity\" 1\ndrag #4 500\ncancel\n");
    const HostRun run =
        runHost("panel --object builtin:line:2 --settings s.plf --script edit.txt --save-scene saved.lws", directory);
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    const auto block = savedBlock(fileText(directory.path() / "saved.lws"));
    EXPECT_EQ(block.at("Gravity"), "9.800000");
    EXPECT_EQ(block.at("V0Max"), "2.000000");
    EXPECT_EQ(block.at("Regist"), "0.370000");
}

// Confirmed, or saved with "S", untouched controls keep the exact values: the
// slider used to quantise Regist 0.37 to 7 / 20, the check box OrgEmit 2 to 1.
TEST(PanelCommandTest, ControlsNotMovedKeepTheExactValues) {
    TempDirectory directory;
    Settings settings;
    settings.Regist = 0.37;
    settings.OrgEmit = 2;
    directory.write("s.plf", settings.text());
    directory.write("ok.txt", "press \"S\"\nchoose \"" + (directory / "shown.plf") + "\"\nconfirm\n");
    const HostRun confirmed =
        runHost("panel --object builtin:line:2 --settings s.plf --script ok.txt --save-scene ok.lws", directory);
    ASSERT_EQ(confirmed.exitCode, kExitOk) << confirmed.err;
    for (const char *file : {"ok.lws", "shown.plf"}) {
        const auto block = savedBlock(fileText(directory.path() / file));
        EXPECT_EQ(block.at("Regist"), "0.370000") << file;
        EXPECT_EQ(block.at("OrgEmit"), "2.000000") << file;
    }
}

// "L" then Cancel used to keep the avoid object the file named.
TEST(PanelCommandTest, CancelAfterLoadingKeepsTheAvoidObject) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    Settings avoiding;
    avoiding.reference = "Emitter";
    directory.write("avoid.plf", avoiding.text());
    for (const char *close : {"cancel", "confirm"}) {
        directory.write("load.txt", "press \"L\"\nchoose \"" + (directory / "avoid.plf") + "\"\n" + close + "\n");
        const HostRun run = runHost(
            "panel --object builtin:line:2 --settings s.plf --script load.txt --save-scene saved.lws", directory);
        ASSERT_EQ(run.exitCode, kExitOk) << run.err;
        EXPECT_EQ(savedBlock(fileText(directory.path() / "saved.lws")).at("REFERENCE"),
                  std::string(close) == "cancel" ? "none" : "Emitter");
    }
}

// The rest of a line longer than the effect reads used to be read as the next
// line: here "Birth 7" and "Gravity 0".
TEST(PanelCommandTest, LoadingSkipsTheRestOfOverLongLines) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    directory.write("long.plf", "PLOF_START\n" + std::string(255, 'X') + "Birth 7\nREFERENCE\n" +
                                    std::string(255, 'N') + "Gravity 0\nAgeMin 3\nPLOF_END\n");
    directory.write("load.txt", "press \"L\"\nchoose \"" + (directory / "long.plf") + "\"\nconfirm\n");
    const HostRun run =
        runHost("panel --object builtin:line:2 --settings s.plf --script load.txt --save-scene saved.lws", directory);
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    const auto block = savedBlock(fileText(directory.path() / "saved.lws"));
    EXPECT_EQ(block.at("Birth"), "30.000000");
    EXPECT_EQ(block.at("Gravity"), "9.800000");
    EXPECT_EQ(block.at("AgeMin"), "3.000000");
}

TEST(PanelCommandTest, ScriptMistakesNameTheFileAndLine) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    struct Case {
        const char *script;
        const char *says;
    };
    const Case cases[] = {
        {"set \"Gravity\" 1\nset \"Gravty\" 2\nconfirm\n", "bad.txt:2: unknown control \"Gravty\""},
        {"\nset \"Recycle\" 3\n", "bad.txt:2: wrong value for #12 \"Recycle\""},
        {"set \"  Max\" 3\n", "bad.txt:1: label \"  Max\" names controls #2, #6"},
        {"set \"Spread Max\" 200\n", "bad.txt:1: slider #14 \"Spread Max\" (SliderControl) goes from 0 to 180"},
        {"press \"S\"\nconfirm\n", "bad.txt:2: the file dialog \"save plf setting\" is open here"},
        {"confirm\nconfirm\n", "bad.txt:2: \"confirm\" has no open panel"},
        {"frob #1\n", "bad.txt:1: unknown action \"frob\""},
    };
    for (const Case &c : cases) {
        directory.write("bad.txt", c.script);
        const HostRun run = runHost(
            "panel --object builtin:line:2 --settings s.plf --script bad.txt "
            "--save-scene saved.lws",
            directory);
        EXPECT_EQ(run.exitCode, kExitBadInput) << c.script;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.script << "\n" << run.err;
        // Nothing half-edited is saved.
        EXPECT_FALSE(std::filesystem::exists(directory.path() / "saved.lws")) << c.script;
    }
}

TEST(PanelCommandTest, PictureThatCannotBeWrittenIsAFailure) {
    TempDirectory directory;
    directory.write("edit.txt", "set \"Gravity\" 2\nsnapshot\nconfirm\n");
    for (const char *script : {"", "--script edit.txt "}) {
        const HostRun run = runHost(std::string("panel --object builtin:line:2 ") + script +
                                        "--snapshot no/such/dir/panel.png --save-scene saved.lws",
                                    directory);
        EXPECT_EQ(run.exitCode, kExitFailure) << script << run.err;
        EXPECT_NE(
            run.err.find("no/such/dir/panel.png: cannot create a file in its directory (No such file or directory)"),
            std::string::npos)
            << run.err;
        EXPECT_FALSE(std::filesystem::exists(directory.path() / "saved.lws"));
    }
}

TEST(PanelCommandTest, SettingsSavedAndLoadedThroughTheDialogs) {
    TempDirectory directory;
    Settings settings;
    settings.Gravity = 1.5;
    directory.write("s.plf", settings.text());
    // Save the loaded settings with "S", then load them into a second panel
    // whose fields were changed, and confirm: the file's values win.
    directory.write("save.txt", "press \"S\"\nchoose \"" + (directory / "copy") + "\"\ncancel\n");
    ASSERT_EQ(runHost("panel --object builtin:line:2 --settings s.plf --script save.txt", directory).exitCode, kExitOk);
    ASSERT_TRUE(std::filesystem::exists(directory.path() / "copy.plf"));
    directory.write("load.txt",
                    "set \"Gravity\" 7\npress \"L\"\nchoose \"" + (directory / "copy.plf") + "\"\nconfirm\n");
    const HostRun run = runHost("panel --object builtin:line:2 --script load.txt --save-scene saved.lws", directory);
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    EXPECT_EQ(savedBlock(fileText(directory.path() / "saved.lws")).at("Gravity"), "1.500000");
}

TEST(PanelCommandTest, PlayWithAPanelScriptPlaysTheEditedSettings) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());  // speed 2 straight up from frame 0
    directory.write("late.txt", "set \"SparkFrame\" 100\nconfirm\n");
    const HostRun late =
        runHost("play --object builtin:line:2 --settings s.plf --frames 0..6 --panel-script late.txt", directory);
    ASSERT_EQ(late.exitCode, kExitOk) << late.err;
    // Emission now starts at frame 100: every point rests at the pivot.
    const Csv csv = parseCsv(late.out);
    ASSERT_EQ(csv.rows.size(), 14u);
    for (const auto &row : csv.rows) {
        EXPECT_EQ(row[2], 0.0);
        EXPECT_EQ(row[3], 0.0);
        EXPECT_EQ(row[4], 0.0);
    }
    // Without the script point 0 has risen 2·0.1 − 9.8·0.01/2 by frame 3.
    const HostRun plain = runHost("play --object builtin:line:2 --settings s.plf --frames 0..6", directory);
    ASSERT_EQ(plain.exitCode, kExitOk) << plain.err;
    EXPECT_NEAR(parseCsv(plain.out).rows[6][3], 0.151, 1e-6);

    const HostRun bad = runHost("play --object builtin:line:2 --settings s.plf --panel-script missing.txt", directory);
    EXPECT_EQ(bad.exitCode, kExitBadInput);
    EXPECT_NE(bad.err.find("missing.txt: cannot open the panel script"), std::string::npos) << bad.err;
}

}  // namespace
}  // namespace plof::e2e
