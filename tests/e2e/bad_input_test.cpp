// plof-host play given bad command lines and bad files: the exit code says
// which, the message names the file (and line), and nothing crashes.
#include "host_run.h"

namespace plof::e2e {
namespace {

void expectFailure(const HostRun &run, int exitCode, const std::string &messagePart) {
    EXPECT_EQ(run.exitCode, exitCode) << run.err;
    EXPECT_NE(run.err.find(messagePart), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("frame,"), std::string::npos) << "no CSV after an error";
}

TEST(BadInputTest, WrongCommandLinesAreUsageErrors) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    const std::string play = "play --object builtin:line:2 --settings s.plf ";
    expectFailure(runHost(play + "--frames 5..2", directory), 2, "--frames needs A..B");
    expectFailure(runHost(play + "--frames 5", directory), 2, "--frames needs A..B");
    expectFailure(runHost(play + "--interface 3", directory), 2, "--interface needs 1 or 2");
    expectFailure(runHost(play + "--fps 0", directory), 2, "--fps needs a number above 0");
    expectFailure(runHost(play + "--motion '0:1,2'", directory), 2, "--motion needs keys");
    expectFailure(runHost(play + "--colour red", directory), 2, "unknown option --colour");
    expectFailure(runHost("play --object builtin:line:2", directory), 2, "needs --settings");
    expectFailure(runHost("play", directory), 2, "play needs either --object");
    expectFailure(runHost("dance", directory), 2, "unknown command 'dance'");
    EXPECT_EQ(runHost("--version", directory).exitCode, 0);
    // The program's --help is a short overview; each command's tells its flags.
    const HostRun help = runHost("play --help", directory);
    EXPECT_EQ(help.exitCode, 0);
    for (const char *flag : {"--object", "--settings", "--frames", "--motion", "--fps", "--interface", "--module",
                             "--out", "--save-scene", "builtin:grid:WxH"}) {
        EXPECT_NE(help.out.find(flag), std::string::npos) << flag;
    }
}

TEST(BadInputTest, BadObjectFilesNameTheFile) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    directory.write("cut.lwo", std::string("FORM\0\0\0\x20LWO2PNTS\0\0\0\x0c\0\0", 22));
    directory.write("garbage.lwo", "this is no object");
    directory.write("bad.obj", "v 1 2 3\nv 1 x 3\n");
    const std::string settings = " --settings s.plf";
    expectFailure(runHost("play --object missing.lwo" + settings, directory), 3, "missing.lwo: no such object file");
    expectFailure(runHost("play --object cut.lwo" + settings, directory), 3, "cut.lwo: truncated");
    expectFailure(runHost("play --object garbage.lwo" + settings, directory), 3, "garbage.lwo: not a LightWave object");
    expectFailure(runHost("play --object bad.obj" + settings, directory), 3, "bad.obj: line 2");
    expectFailure(runHost("play --object builtin:cube:2" + settings, directory), 3, "unknown built-in shape");
}

TEST(BadInputTest, GarbageSettingsAreRefusedAndTruncatedOnesWarn) {
    TempDirectory directory;
    directory.write("garbage.plf", "\x89PNG\r\n\x1a\n");
    expectFailure(runHost("play --object builtin:line:2 --settings garbage.plf", directory), 3,
                  "garbage.plf: line 1: a settings file begins with the line PLOF_START");
    expectFailure(runHost("play --object builtin:line:2 --settings none.plf", directory), 3,
                  "none.plf: no such settings file");

    // Cut after the speeds: the rest keeps the values of a new instance.
    directory.write("cut.plf", "PLOF_START\nV0Min 2.000000\nV0Max 2.000000\n");
    const HostRun cut = runHost("play --object builtin:line:2 --settings cut.plf --frames 0..1", directory);
    EXPECT_EQ(cut.exitCode, 0) << cut.err;
    EXPECT_NE(cut.err.find("cut.plf:3: no PLOF_END line"), std::string::npos) << cut.err;
    EXPECT_EQ(parseCsv(cut.out).rows.size(), 4u);
}

TEST(BadInputTest, OversizedAndOutOfRangeSettingsLinesPlayWithoutHarm) {
    TempDirectory directory;
    // A 400-character value line is cut to the effect's line buffer and still
    // reads as speed 2; AgeMin beyond any integer saturates; Birth 0 would
    // divide by zero: no particle is ever born.
    Settings settings;
    std::string text = settings.text();
    text.replace(text.find("V0Min 2.000000"), 14, "V0Min 2.000000" + std::string(400, '0'));
    text.replace(text.find("Birth 30.000000"), 15, "Birth 0.000000");
    text.replace(text.find("AgeMin 100.000000"), 17, "AgeMin 1e300");
    directory.write("odd.plf", text);
    const HostRun run = runHost("play --object builtin:line:3 --settings odd.plf --frames 0..5", directory);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("odd.plf:2: longer than the effect's line buffer"), std::string::npos)
        << run.err;
    const Csv csv = parseCsv(run.out);
    ASSERT_EQ(csv.rows.size(), 18u);
    for (const std::vector<double> &row : csv.rows) {
        EXPECT_EQ(row[2], 0.0);
        EXPECT_EQ(row[3], 0.0);
        EXPECT_EQ(row[4], 0.0);
    }
}

TEST(BadInputTest, BadScenesNameFileAndLine) {
    TempDirectory directory;
    directory.write("bad.lws", "LWSC\n1\nLoadObject builtin:line:2\nObjectMotion (unnamed)\n  9\n  many\n");
    expectFailure(runHost("play bad.lws", directory), 3, "bad.lws: line 6: expected the key count");
    directory.write("text.lws", "hello\n");
    expectFailure(runHost("play text.lws", directory), 3, "text.lws: line 1: not an LWSC scene");
    expectFailure(runHost("play nowhere.lws", directory), 3, "nowhere.lws: no such scene file");
}

TEST(BadInputTest, AModuleThatCannotBeLoadedIsAFailure) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    directory.write("fake.p", "not a library");
    const std::string play = "play --object builtin:line:2 --settings s.plf --module ";
    expectFailure(runHost(play + "nothere.p", directory), 4, "nothere.p: no such module file");
    expectFailure(runHost(play + "fake.p --out points.csv", directory), 4, "fake.p: cannot load the module");
    EXPECT_FALSE(std::filesystem::exists(directory / "points.csv")) << "no output file after a failure";
}

}  // namespace
}  // namespace plof::e2e
