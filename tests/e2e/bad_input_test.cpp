// plof-host play given bad command lines and bad files: the exit code says
// which, the message names the file (and line), and nothing crashes.
#include <sys/stat.h>

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
    expectFailure(runHost(play + "--frames 5..2", directory), kExitUsage, "--frames needs A..B");
    expectFailure(runHost(play + "--frames 5", directory), kExitUsage, "--frames needs A..B");
    expectFailure(runHost(play + "--interface 3", directory), kExitUsage, "--interface needs 1 or 2");
    expectFailure(runHost(play + "--fps 0", directory), kExitUsage, "--fps needs a number above 0");
    expectFailure(runHost(play + "--motion '0:1,2'", directory), kExitUsage, "--motion needs keys");
    expectFailure(runHost(play + "--colour red", directory), kExitUsage, "unknown option --colour");
    expectFailure(runHost("play", directory), kExitUsage, "play needs either --object");
    expectFailure(runHost("dance", directory), kExitUsage, "unknown command 'dance'");
    EXPECT_EQ(runHost("--version", directory).exitCode, kExitOk);
    // The program's --help is a short overview; each command's tells its flags.
    const HostRun help = runHost("play --help", directory);
    EXPECT_EQ(help.exitCode, kExitOk);
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
    expectFailure(runHost("play --object missing.lwo" + settings, directory), kExitBadInput,
                  "missing.lwo: no such object file");
    expectFailure(runHost("play --object cut.lwo" + settings, directory), kExitBadInput, "cut.lwo: truncated");
    expectFailure(runHost("play --object garbage.lwo" + settings, directory), kExitBadInput,
                  "garbage.lwo: not a LightWave object");
    expectFailure(runHost("play --object bad.obj" + settings, directory), kExitBadInput, "bad.obj: line 2");
    expectFailure(runHost("play --object builtin:cube:2" + settings, directory), kExitBadInput,
                  "unknown built-in shape");
}

TEST(BadInputTest, GarbageSettingsAreRefusedAndTruncatedOnesWarn) {
    TempDirectory directory;
    directory.write("garbage.plf", "\x89PNG\r\n\x1a\n");
    expectFailure(runHost("play --object builtin:line:2 --settings garbage.plf", directory), kExitBadInput,
                  "garbage.plf: line 1: a settings file begins with the line PLOF_START");
    expectFailure(runHost("play --object builtin:line:2 --settings none.plf", directory), kExitBadInput,
                  "none.plf: no such settings file");

    // Cut after the speeds: the rest keeps the values of a new instance.
    directory.write("cut.plf", "PLOF_START\nV0Min 2.000000\nV0Max 2.000000\n");
    const HostRun cut = runHost("play --object builtin:line:2 --settings cut.plf --frames 0..1", directory);
    EXPECT_EQ(cut.exitCode, kExitOk) << cut.err;
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
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    EXPECT_NE(run.err.find("odd.plf:2: longer than the effect's line buffer"), std::string::npos) << run.err;
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
    expectFailure(runHost("play bad.lws", directory), kExitBadInput, "bad.lws: line 6: expected the key count");
    directory.write("text.lws", "hello\n");
    expectFailure(runHost("play text.lws", directory), kExitBadInput, "text.lws: line 1: not an LWSC scene");
    expectFailure(runHost("play nowhere.lws", directory), kExitBadInput, "nowhere.lws: no such scene file");
}

TEST(BadInputTest, ScenesOfOtherVersionsOrWithoutItemsAreRefused) {
    TempDirectory directory;
    for (const char *version : {"2", "3", "5"}) {
        directory.write("later.lws", std::string("LWSC\n") + version + "\n\nLoadObjectLayer 1 1 a.lwo\n");
        expectFailure(runHost("play later.lws", directory), kExitBadInput,
                      std::string("later.lws: line 2: LWSC version ") + version + ": this host reads only version 1");
    }
    directory.write("empty.lws", "LWSC\n1\n\nFirstFrame 0\nLoadObjectLayer 1 1 a.lwo\n");
    expectFailure(runHost("play empty.lws", directory), kExitBadInput, "empty.lws: no item");
}

TEST(BadInputTest, DirectoriesAndFifosSayWhatTheyAreWithoutBlocking) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    std::filesystem::create_directory(directory / "folder.plf");
    ASSERT_EQ(::mkfifo((directory / "pipe.lwo").c_str(), 0600), 0);
    expectFailure(runHost("play --object builtin:line:2 --settings folder.plf", directory), kExitBadInput,
                  "folder.plf: is a directory; the settings file must be a regular file");
    expectFailure(runHost("play --object pipe.lwo --settings s.plf", directory), kExitBadInput,
                  "pipe.lwo: is a FIFO; the object file must be a regular file");
    expectFailure(runHost("play folder.plf", directory), kExitBadInput, "folder.plf: is a directory; the scene file");
}

TEST(BadInputTest, NumbersThatCannotBeComputedAreRefusedAndLargeAnglesArePlayed) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    const std::string play = "play --object builtin:line:3 --settings s.plf --frames 0..20 ";
    expectFailure(runHost(play + "--fps 1e-300", directory), kExitUsage,
                  "--fps needs a number above 0, from 0.001 to 1000 frames per second, got \"1e-300\"");
    expectFailure(runHost(play + "--motion '0:1e308,0,0;10:-1e308,0,0'", directory), kExitUsage,
                  "--motion: between the keys at frames 0 and 10, position X goes beyond 1e+150");

    // A heading and pitch of 1e10 degrees are 280 degrees: the same points, all finite.
    const HostRun large = runHost(play + "--motion '0:0,0,0:1e10,1e10,0'", directory);
    const HostRun reduced = runHost(play + "--motion '0:0,0,0:280,280,0'", directory);
    ASSERT_EQ(large.exitCode, kExitOk) << large.err;
    EXPECT_EQ(large.out, reduced.out);
    EXPECT_EQ(large.out.find("nan"), std::string::npos);
    EXPECT_EQ(parseCsv(large.out).rows.size(), 63u);
}

TEST(BadInputTest, AModuleThatCannotBeLoadedIsAFailure) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    directory.write("fake.p", "not a library");
    const std::string play = "play --object builtin:line:2 --settings s.plf --module ";
    expectFailure(runHost(play + "nothere.p", directory), kExitFailure, "nothere.p: no such module file");
    expectFailure(runHost(play + "fake.p --out points.csv", directory), kExitFailure, "fake.p: cannot load the module");
    EXPECT_FALSE(std::filesystem::exists(directory / "points.csv")) << "no output file after a failure";
}

}  // namespace
}  // namespace plof::e2e
