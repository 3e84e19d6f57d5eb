// The module's panels driven by the same scripts in the native build and in
// the 32-bit Windows build under Wine: the settings files each writes (text
// mode, so CR LF on Windows) and reads from the other, the scenes each bakes
// (CR LF on both), the host scenes saved afterwards, the messages shown, and
// the paths each forms with its own separator.
#include <gtest/gtest.h>

#include <fstream>

#include "support/host_programs.h"

namespace plof::test {
namespace {

namespace fs = std::filesystem;

constexpr Build kBuilds[] = {Build::native, Build::windows};

std::string withoutCarriageReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

// Every line ends with CR LF, and no line holds another CR.
::testing::AssertionResult hasOnlyCrLfLineEnds(const std::string &text) {
    if (text.empty() || !text.ends_with("\r\n")) return ::testing::AssertionFailure() << "no final CR LF";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool crOfCrLf = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        const bool lfOfCrLf = text[i] == '\n' && i > 0 && text[i - 1] == '\r';
        const bool crCrLf = text[i] == '\r' && i > 0 && text[i - 1] == '\r';
        if ((text[i] == '\r' && !crOfCrLf) || (text[i] == '\n' && !lfOfCrLf) || crCrLf) {
            return ::testing::AssertionFailure() << "stray line end at byte " << i;
        }
    }
    return ::testing::AssertionSuccess();
}

// The messages the module showed ("Info Messages"), one per line, as the host
// prints them on its standard error stream (a console stream: CR LF on Windows).
std::vector<std::string> shownMessages(const std::string &err) {
    std::vector<std::string> messages;
    std::size_t start = 0;
    const std::string text = withoutCarriageReturns(err);
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = text.substr(start, end - start);
        if (line.starts_with("PLOF!: ")) messages.push_back(line.substr(7));
    }
    return messages;
}

std::string quoted(const std::string &path) {
    std::string text = "\"";
    for (char c : path) {
        if (c == '"' || c == '\\') text += '\\';
        text += c;
    }
    return text + "\"";
}

const char *const kStartSettings =
    "PLOF_START\nV0Min 1.250000\nV0Max 2.750000\nAgeMin 12.000000\nAgeMax 48.000000\nGravity -3.500000\n"
    "Regist 0.350000\nSTART_F 4.000000\nBirth 45.000000\nReCycle 1.000000\nSpreadMin 30.000000\n"
    "SpreadMax 60.000000\nOrgEmit 0.000000\nREFERENCE\nnone\nPLOF_END\n";

class PanelComparison : public testing::Test {
protected:
    void SetUp() override {
        PLOF_SKIP_WITHOUT_WINDOWS_BUILD();
        directory_ = freshTestDirectory(std::string("panel_comparison/") +
                                        testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::copy(fs::path(PLOF_SOURCE_DIR) / "examples" / "objects", directory_ / "objects");
        fs::create_directories(directory_ / "scenes");
        std::ofstream(directory_ / "start.plf", std::ios::binary) << kStartSettings;
    }

    fs::path file(Build build, const std::string &name) const {
        return directory_ / (std::string(buildName(build)) + "-" + name);
    }

    // Runs `plof-host panel` on a 25-point emitter with the start settings
    // and the script, saving the host scene to <build>-saved.lws.
    ProgramRun runPanel(Build build, const std::string &script) {
        const fs::path scriptPath = file(build, "script.txt");
        std::ofstream(scriptPath, std::ios::binary) << script;
        ProgramRun run = runHost(
            build,
            {"panel", "--object", "builtin:grid:5x5", "--settings", "start.plf", "--script",
             hostPath(build, scriptPath), "--save-scene", hostPath(build, file(build, "saved.lws")), "--objects-dir",
             hostPath(build, directory_ / "objects"), "--scenes-dir", hostPath(build, directory_ / "scenes")},
            directory_);
        return run;
    }

    fs::path directory_;
};

TEST_F(PanelComparison, SettingsFilesAreTheSameLinesWithThePlatformsLineEnds) {
    for (Build build : kBuilds) {
        // The first save replaces an existing file (renaming over a file is
        // refused by some Windows calls); the second comes after an
        // unconfirmed edit and has no extension.
        std::ofstream(file(build, "a.plf"), std::ios::binary) << "an older, longer file to be replaced\n\n\n\n";
        const ProgramRun run = runPanel(build, "press \"S\"\nchoose " + quoted(hostPath(build, file(build, "a.plf"))) +
                                                   "\nset \"Gravity\" 9.5\npress \"S\"\nchoose " +
                                                   quoted(hostPath(build, file(build, "b"))) + "\nconfirm\n");
        ASSERT_EQ(run.exitCode, 0) << buildName(build) << ": " << run.err;
    }
    const std::string native = readFileBytes(file(Build::native, "a.plf"));
    const std::string windows = readFileBytes(file(Build::windows, "a.plf"));
    EXPECT_EQ(native, kStartSettings);
    EXPECT_EQ(native.find('\r'), std::string::npos);
    EXPECT_TRUE(hasOnlyCrLfLineEnds(windows));
    EXPECT_EQ(withoutCarriageReturns(windows), native);
    // The second save holds the edit the panel showed.
    std::string shown = native;
    shown.replace(shown.find("Gravity -3.500000"), 17, "Gravity 9.500000");
    EXPECT_EQ(readFileBytes(file(Build::native, "b.plf")), shown);
    EXPECT_EQ(withoutCarriageReturns(readFileBytes(file(Build::windows, "b.plf"))), shown);
    EXPECT_TRUE(hasOnlyCrLfLineEnds(readFileBytes(file(Build::windows, "b.plf"))));

    const std::string nativeScene = readFileBytes(file(Build::native, "saved.lws"));
    EXPECT_NE(nativeScene.find("Gravity 9.500000\r\n"), std::string::npos) << nativeScene;
    EXPECT_TRUE(nativeScene == readFileBytes(file(Build::windows, "saved.lws")));
}

TEST_F(PanelComparison, EachBuildLoadsTheOthersSettingsFile) {
    // Each build saves other.plf's values through "S" (CR LF on Windows), then
    // loads the other build's file over the start settings through "L".
    const std::string other =
        "PLOF_START\nV0Min 0.5\nV0Max 6\nAgeMin 3\nAgeMax 90\nGravity 1.25\nRegist 0.6\n"
        "START_F 2\nBirth 250\nReCycle 0\nSpreadMin 5\nSpreadMax 85\nOrgEmit 1\n"
        "REFERENCE\nnone\nPLOF_END\n";
    std::ofstream(directory_ / "other.plf", std::ios::binary) << other;
    for (Build build : kBuilds) {
        std::ofstream(file(build, "save.txt"), std::ios::binary)
            << "press \"S\"\nchoose " << quoted(hostPath(build, file(build, "written.plf"))) << "\ncancel\n";
        const ProgramRun run = runHost(build,
                                       {"panel", "--object", "builtin:grid:5x5", "--settings", "other.plf", "--script",
                                        hostPath(build, file(build, "save.txt"))},
                                       directory_);
        ASSERT_EQ(run.exitCode, 0) << buildName(build) << ": " << run.err;
    }
    ASSERT_TRUE(hasOnlyCrLfLineEnds(readFileBytes(file(Build::windows, "written.plf"))));

    std::string scenes[2];
    for (Build build : kBuilds) {
        const Build writer = build == Build::native ? Build::windows : Build::native;
        const ProgramRun run = runPanel(
            build, "press \"L\"\nchoose " + quoted(hostPath(build, file(writer, "written.plf"))) + "\nconfirm\n");
        ASSERT_EQ(run.exitCode, 0) << buildName(build) << ": " << run.err;
        EXPECT_EQ(shownMessages(run.err), std::vector<std::string>{}) << buildName(build);
        scenes[build == Build::native ? 0 : 1] = readFileBytes(file(build, "saved.lws"));
    }
    // The start settings are replaced by the other file's values.
    for (const char *line : {"V0Min 0.500000\r\n", "Regist 0.600000\r\n", "Birth 250.000000\r\n",
                             "ReCycle 0.000000\r\n", "OrgEmit 1.000000\r\n"}) {
        EXPECT_NE(scenes[0].find(line), std::string::npos) << line << " missing from\n" << scenes[0];
    }
    EXPECT_TRUE(scenes[0] == scenes[1]);
}

TEST_F(PanelComparison, RefusalsShowTheSameMessages) {
    std::ofstream(directory_ / "upper.PLF", std::ios::binary) << kStartSettings;
    std::ofstream(directory_ / "empty-first-line.plf", std::ios::binary) << "\n" << kStartSettings;
    std::vector<std::string> messages[2];
    for (Build build : kBuilds) {
        const ProgramRun run = runPanel(
            build, "press \"L\"\nchoose " + quoted(hostPath(build, directory_ / "missing.plf")) +
                       "\npress \"L\"\nchoose " + quoted(hostPath(build, directory_ / "upper.PLF")) +
                       "\npress \"L\"\nchoose " + quoted(hostPath(build, directory_ / "empty-first-line.plf")) +
                       "\npress \"    CreateScene   \"\npress \"ObjectFile \"\nchoose " +
                       quoted(hostPath(build, directory_ / "objects" / "ball.LWO")) + "\ncancel\ncancel\n");
        ASSERT_EQ(run.exitCode, 0) << buildName(build) << ": " << run.err;
        messages[build == Build::native ? 0 : 1] = shownMessages(run.err);
    }
    EXPECT_EQ(messages[0], (std::vector<std::string>{"Can't open PLOF! file", "Error it's not PLOF! file",
                                                     "Can't open PLOF! file", "Can't open .lwo file"}));
    EXPECT_EQ(messages[1], messages[0]);
}

TEST_F(PanelComparison, BakedScenesAreTheSameBytesWithCrLfLineEnds) {
    std::string baked[2];
    for (Build build : kBuilds) {
        // Two object files given in turn to the particles, spins, scaling and
        // dissolving; the scene replaces an older file of that name.
        std::ofstream(file(build, "baked.lws"), std::ios::binary) << "an older scene\n";
        const std::string script =
            "press \"    CreateScene   \"\n"
            "set \"ScneName   \" " +
            quoted(hostPath(build, file(build, "baked.lws"))) +
            "\n"
            "press \"ObjectFile \"\nchoose " +
            quoted(hostPath(build, directory_ / "objects" / "ball.lwo")) +
            "\n"
            "press \"ObjectFile \"\nchoose " +
            quoted(hostPath(build, directory_ / "objects" / "nozzle.lwo")) +
            "\n"
            "set \"  frame     \" 45\nset \"  frame step\" 2\nset \"   HPB min  \" -30,0,10\n"
            "set \"   HPB max  \" 90,45,10\nset \"Scale ctl\" on\nset \"Dslv ctl\" on\nconfirm\ncancel\n";
        const ProgramRun run = runPanel(build, script);
        ASSERT_EQ(run.exitCode, 0) << buildName(build) << ": " << run.err;
        baked[build == Build::native ? 0 : 1] = readFileBytes(file(build, "baked.lws"));
    }
    ASSERT_TRUE(hasOnlyCrLfLineEnds(baked[0]));
    EXPECT_TRUE(hasOnlyCrLfLineEnds(baked[1]));
    // The object paths are the ones each platform's dialog returned; all else is the same bytes.
    std::string native = baked[0];
    const std::string nativeObjects = hostPath(Build::native, directory_ / "objects");
    const std::string windowsObjects = hostPath(Build::windows, directory_ / "objects");
    EXPECT_NE(baked[1].find("LoadObject " + windowsObjects + "\\ball.lwo\r\n"), std::string::npos);
    for (std::size_t at; (at = native.find(nativeObjects + "/")) != std::string::npos;) {
        native.replace(at, nativeObjects.size() + 1, windowsObjects + "\\");
    }
    EXPECT_TRUE(native == baked[1]) << "the baked scenes differ beyond their object paths";
}

// The module joins directories and names with the separator of the platform
// it runs on ("%s\*.plf", "%s\*.lwo", "%s\PLOF.lws" on Windows), and finds a
// file's folder by that separator: backslashes on Windows, slashes natively.
TEST_F(PanelComparison, PathsAreFormedWithThePlatformsSeparator) {
    for (Build build : kBuilds) {
        fs::remove_all(directory_ / "scenes");
        fs::create_directories(directory_ / "scenes");
        const std::string ball = hostPath(build, directory_ / "objects" / "ball.lwo");
        const std::string objects = hostPath(build, directory_ / "objects");
        const std::string scenes = hostPath(build, directory_ / "scenes");
        const char separator = build == Build::native ? '/' : '\\';
        // The patterns the module gives its buttons and the suggested scene
        // name, checked by the script's expect lines.
        const std::string expectations = "expect \"S\" " + quoted(objects + separator + "*.plf") + "\nexpect \"L\" " +
                                         quoted(objects + separator + "*.plf") +
                                         "\npress \"    CreateScene   \"\nexpect \"ScneName   \" " +
                                         quoted(scenes + separator + "PLOF.lws") + "\nexpect \"ObjectFile \" " +
                                         quoted(objects + separator + "*.lwo") + "\n";
        const ProgramRun run = runPanel(build, expectations + "press \"ObjectFile \"\nchoose " + quoted(ball) +
                                                   "\npress \"ObjectFile \"\nchoose cancel\nconfirm\ncancel\n");
        ASSERT_EQ(run.exitCode, 0) << buildName(build) << ": " << run.err;
        const std::string err = withoutCarriageReturns(run.err);
        // The first dialog opens in the host's directory, the next in the chosen file's folder.
        EXPECT_NE(err.find("file dialog \"Load Object\" opens in \"" + objects + "\" offering \"<*.lwo\""),
                  std::string::npos)
            << err;
        EXPECT_NE(err.find("file dialog \"Load Object\" opens in \"" + objects + separator + "\" offering"),
                  std::string::npos)
            << err;
        // The suggested scene name is the scenes directory joined with PLOF.lws: with
        // the wrong separator natively the file would land beside the directory.
        EXPECT_TRUE(fs::exists(directory_ / "scenes" / "PLOF.lws")) << buildName(build);
        EXPECT_EQ(std::distance(fs::directory_iterator(directory_ / "scenes"), fs::directory_iterator()), 1);
    }
}

// The Windows host has no cairo: asked for a picture, it says so before it
// opens anything, rather than leaving no file behind silently.
TEST_F(PanelComparison, WindowsBuildSaysItDrawsNoPanelPictures) {
    const fs::path picture = directory_ / "panel.png";
    const ProgramRun run =
        runHost(Build::windows,
                {"panel", "--object", "builtin:grid:5x5", "--snapshot", hostPath(Build::windows, picture)}, directory_);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("not available in this build"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(picture));
}

}  // namespace
}  // namespace plof::test
