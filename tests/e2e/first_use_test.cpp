// What a first-time user of plof-host meets: the overview without arguments,
// one meaning per flag, a flag given twice, object files named by the full
// path a file dialog returns, and an installed plof-host finding its module.
#include "host_run.h"

namespace plof::e2e {
namespace {

std::size_t lineCount(const std::string &text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(FirstUseTest, WithoutArgumentsAShortOverviewOfTheCommands) {
    TempDirectory directory;
    const HostRun bare = runHost("", directory);
    EXPECT_EQ(bare.exitCode, kExitUsage);
    const HostRun help = runHost("--help", directory);
    EXPECT_EQ(help.exitCode, kExitOk);
    EXPECT_EQ(help.out, bare.err);
    EXPECT_LT(lineCount(help.out), 20u) << help.out;
    for (const char *line : {"\n  play ", "\n  panel ", "\n  bake ", "plof-host COMMAND --help"}) {
        EXPECT_NE(help.out.find(line), std::string::npos) << line;
    }
    EXPECT_NE(runHost("play --help", directory).out.find("docs/settings.md"), std::string::npos);
}

// The settings the module's documentation gives a new instance.
const char *const kNewInstanceSettings =
    "PLOF_START\nV0Min 1\nV0Max 4\nAgeMin 10\nAgeMax 60\nGravity 9.8\nRegist 0\nSTART_F 0\nBirth 100\n"
    "ReCycle 1\nSpreadMin 0\nSpreadMax 180\nOrgEmit 0\nPLOF_END\n";

TEST(FirstUseTest, AnObjectWithoutSettingsStartsFromTheEffectsDefaultsInEveryCommandAndSaysSoOnce) {
    TempDirectory directory;
    directory.write("defaults.plf", kNewInstanceSettings);
    const std::string object = "--object builtin:grid:4x3 ";
    const HostRun bare = runHost("play " + object + "--frames 0..20", directory);
    ASSERT_EQ(bare.exitCode, kExitOk) << bare.err;
    EXPECT_EQ(bare.out, runHost("play " + object + "--settings defaults.plf --frames 0..20", directory).out);
    const std::string note = "no --settings: the effect starts from its own defaults";
    for (const std::string &command :
         {"play " + object, "summary " + object, "export " + object + "--out a.glb", "bake " + object + "--out b.lws",
          "panel " + object, "render " + object + "--frames 0..2 --out c.png"}) {
        const HostRun run = runHost(command, directory);
        EXPECT_EQ(run.exitCode, kExitOk) << command << "\n" << run.err;
        const std::size_t said = run.err.find(note);
        EXPECT_NE(said, std::string::npos) << command << "\n" << run.err;
        EXPECT_EQ(run.err.find(note, said + 1), std::string::npos) << command << " says it twice\n" << run.err;
    }
}

TEST(FirstUseTest, FramesTakeEachCommandsFormAndSayWhichWhenRefused) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    const std::string bake = "bake --object builtin:line:3 --settings s.plf ";
    ASSERT_EQ(runHost(bake + "--frames 4 --out count.lws", directory).exitCode, kExitOk);
    ASSERT_EQ(runHost(bake + "--frames 0..3 --out range.lws", directory).exitCode, kExitOk);
    EXPECT_EQ(fileText(directory.path() / "range.lws"), fileText(directory.path() / "count.lws"));

    struct Case {
        std::string arguments;
        const char *says;
    };
    const Case cases[] = {
        {bake + "--frames 2..5 --out x.lws", "a bake always starts at frame 0; write 0..5"},
        {bake + "--frames 0..b --out x.lws", "--frames takes a whole number N (frames 0 .. N-1) or 0..B"},
        {bake + "--fps 24 --out x.lws", "--fps: a bake always samples at 30 frames per second"},
        {"play --object builtin:line:3 --settings s.plf --frames 60", "write 0..59"},
        {"play --object builtin:line:3 --settings s.plf --frames 0..1 --frames 0..3", "--frames given twice"},
        {bake + "--out x.lws --dissolve --dissolve", "--dissolve given twice"},
    };
    for (const Case &c : cases) {
        const HostRun run = runHost(c.arguments, directory);
        EXPECT_EQ(run.exitCode, kExitUsage) << c.arguments;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.arguments << "\n" << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(directory.path() / "x.lws"));
}

// Baked in one directory through a relative path, played from another.
TEST(FirstUseTest, BakedObjectPathsAreFullPathsThatPlayFromAnywhere) {
    TempDirectory directory;
    std::filesystem::create_directories(directory.path() / "work" / "sub");
    std::filesystem::create_directories(directory.path() / "elsewhere");
    std::filesystem::copy(std::string(PLOF_SOURCE_DIR) + "/examples/objects/ball.lwo", directory / "ball.lwo");
    directory.write("s.plf", Settings{}.text());
    const HostRun bake = runHost(
        "bake --object builtin:line:2 --settings ../s.plf --frames 3 "
        "--objects ../ball.lwo --out sub/x.lws",
        directory, "cd work && ");
    ASSERT_EQ(bake.exitCode, kExitOk) << bake.err;
    const std::string scene = fileText(directory.path() / "work" / "sub" / "x.lws");
    EXPECT_NE(scene.find("LoadObject " + (directory / "ball.lwo") + "\r\n"), std::string::npos) << scene;
    const HostRun play = runHost("play ../work/sub/x.lws --frames 0..2", directory, "cd elsewhere && ");
    EXPECT_EQ(play.exitCode, kExitOk) << play.err;
    EXPECT_EQ(play.err.find("not found"), std::string::npos) << play.err;

    // A missing object file stops the bake before the module is loaded.
    const HostRun missing = runHost(
        "bake --object builtin:line:2 --settings s.plf --objects ball.lwo,gone.lwo "
        "--module missing.p --out y.lws",
        directory);
    EXPECT_EQ(missing.exitCode, kExitBadInput);
    EXPECT_NE(missing.err.find("gone.lwo: no such object file"), std::string::npos) << missing.err;
}

TEST(FirstUseTest, AnInstalledHostFindsTheModuleBesideIt) {
    TempDirectory directory;
    const std::string buildDirectory = std::filesystem::path(PLOF_BIN_DIR).parent_path().string();
    const std::string install = "cmake --install '" + buildDirectory + "' --prefix '" + (directory / "prefix") +
                                "' >'" + (directory / "install.txt") + "' 2>&1";
    ASSERT_EQ(std::system(install.c_str()), 0) << fileText(directory.path() / "install.txt");
    EXPECT_TRUE(std::filesystem::exists(directory.path() / "prefix" / "bin" / "plof.p"));
    directory.write("s.plf", Settings{}.text());
    const std::string command = "cd '" + directory.path().string() +
                                "' && prefix/bin/plof-host play --object "
                                "builtin:line:2 --settings s.plf --frames 0..1 >out.csv 2>err.txt";
    EXPECT_EQ(std::system(command.c_str()), 0) << fileText(directory.path() / "err.txt");
    EXPECT_EQ(parseCsv(fileText(directory.path() / "out.csv")).rows.size(), 4u);
}

TEST(FirstUseTest, MistakesAreAnsweredWithTheWayOut) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    std::filesystem::create_directory(directory / "scripts");
    const std::pair<std::string, std::pair<int, std::string>> cases[] = {
        {"rendr a.lws", {2, "unknown command 'rendr'; did you mean 'render'?"}},
        {"play --setings s.plf", {2, "unknown option --setings; did you mean --settings?"}},
        {"summary --object builtin:line:2 --settings s.plf --jsn", {2, "did you mean --json?"}},
        {"play --object builtin:line:2 --settings s.plf --wobble", {2, "unknown option --wobble\n"}},
        {"play s.plf", {3, "not a scene; give it with --object OBJECT --settings FILE.plf"}},
        {"play --object sphere --settings s.plf", {3, "for the built-in shape write builtin:sphere:N"}},
        {"play --object builtin:line:2 --settings s.plf --panel-script scripts",
         {3, "a directory, not a panel script"}},
    };
    for (const auto &[command, expected] : cases) {
        const HostRun run = runHost(command, directory);
        EXPECT_EQ(run.exitCode, expected.first) << command << ": " << run.err;
        EXPECT_NE(run.err.find(expected.second), std::string::npos) << command << ": " << run.err;
    }
}

TEST(FirstUseTest, AScriptThatLeavesThePanelOpenIsToldItsEditsWereDiscarded) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    directory.write("open.txt", "set \"Gravity\" 3\n");
    directory.write("kept.txt", "set \"Gravity\" 3\nconfirm\n");
    const std::string play = "play --object builtin:line:2 --settings s.plf --frames 0..1 --panel-script ";
    EXPECT_NE(runHost(play + "open.txt", directory)
                  .err.find("open.txt: the script ends with the options panel open, "
                            "so the host cancels it and its edits are discarded; "
                            "end with a line \"confirm\" to keep them"),
              std::string::npos);
    EXPECT_EQ(runHost(play + "kept.txt", directory).err.find("discarded"), std::string::npos);
}

}  // namespace
}  // namespace plof::e2e
