// Files the module was asked to write and did not: it says nothing, so
// plof-host names each one, says what it observed, and exits 4; and the
// messages the module shows after a file dialog are followed by the file.
#include "host_run.h"

namespace plof::e2e {
namespace {

const std::string kPanel = "panel --object builtin:line:2 --settings s.plf --script script.txt";

HostRun runScript(const TempDirectory &directory, const std::string &script) {
    directory.write("script.txt", script);
    return runHost(kPanel, directory);
}

TEST(UnwrittenOutputTest, ABakeOrSaveThatWroteNothingIsAFailureNamingThePath) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    const HostRun bake = runScript(directory,
                                   "press \"    CreateScene   \"\nset \"ScneName   \" \"no/dir/x.lws\"\n"
                                   "confirm\ncancel\n");
    EXPECT_EQ(bake.exitCode, kExitFailure);
    EXPECT_NE(bake.err.find("no/dir/x.lws: the module wrote no scene there; the directory \"no/dir\" does not exist"),
              std::string::npos)
        << bake.err;

    const HostRun save = runScript(directory, "press \"S\"\nchoose \"no/dir/saved\"\ncancel\n");
    EXPECT_EQ(save.exitCode, kExitFailure);
    EXPECT_NE(save.err.find(directory / "no/dir/saved.plf: the module wrote no file there"), std::string::npos)
        << save.err;

    // The same save written: a success.
    EXPECT_EQ(runScript(directory, "press \"S\"\nchoose saved\ncancel\n").exitCode, kExitOk);
    EXPECT_TRUE(std::filesystem::exists(directory.path() / "saved.plf"));
}

// Too large for the module: the particle and frame counts are named.
TEST(UnwrittenOutputTest, ABakeTooLargeForTheModuleIsNamedWithItsCounts) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    const HostRun huge =
        runHost("bake --object builtin:line:3 --settings s.plf --frames 2147483647 --out big.lws", directory);
    EXPECT_EQ(huge.exitCode, kExitFailure);
    EXPECT_NE(huge.err.find("the bake asked for 3 particles x 2147483647 sampled frames"), std::string::npos)
        << huge.err;
    EXPECT_FALSE(std::filesystem::exists(directory.path() / "big.lws"));
}

// Under a file-size limit the module cannot replace an existing file: the
// file stays as it was, and the host says it was not written.
TEST(UnwrittenOutputTest, ASaveUnderAWriteLimitLeavesTheOldFileAndFails) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    directory.write("script.txt", "press \"S\"\nchoose old.plf\ncancel\n");
    directory.write("old.plf", "old");
    // Standard error is a pipe, so that the limit does not stop its messages.
    const std::string command = "cd '" + directory.path().string() + "' && (ulimit -f 0; trap '' XFSZ; '" +
                                PLOF_BIN_DIR + "/plof-host' " + kPanel + "; echo \"exit $?\") 2>&1 | cat >log.txt";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string log = fileText(directory.path() / "log.txt");
    EXPECT_NE(log.find("old.plf: the module wrote no file there"), std::string::npos) << log;
    EXPECT_NE(log.find("exit 4"), std::string::npos) << log;
    EXPECT_EQ(fileText(directory.path() / "old.plf"), "old");
}

TEST(UnwrittenOutputTest, ModuleMessagesAfterADialogAreFollowedByItsFile) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    directory.write("a.lwo", "");
    const HostRun load = runScript(directory, "press \"L\"\nchoose gone.plf\nconfirm\n");
    EXPECT_EQ(load.exitCode, kExitOk) << load.err;
    EXPECT_NE(load.err.find("PLOF!: Can't open PLOF! file\nplof-host: (the file dialog had returned \"" +
                            (directory / "gone.plf") + "\")\n"),
              std::string::npos)
        << load.err;

    // The object list takes 255 files: of 257, two are refused, each with the
    // module's message, and the host counts them once.
    std::string objects = "a.lwo";
    for (int i = 1; i < 257; ++i) objects += ",a.lwo";
    const HostRun full =
        runHost("bake --object builtin:line:2 --settings s.plf --frames 2 --out x.lws --objects " + objects, directory);
    EXPECT_EQ(full.exitCode, kExitOk) << full.err;
    std::size_t messages = 0;
    for (std::size_t at = full.err.find("PLOF!: Object List is Full!"); at != std::string::npos;
         at = full.err.find("PLOF!: Object List is Full!", at + 1)) {
        ++messages;
    }
    EXPECT_EQ(messages, 2u);
    EXPECT_EQ(full.err.find("the file dialog had returned"), std::string::npos) << "counted, not named one by one";
    EXPECT_NE(full.err.find("plof-host: 2 of the 257 files chosen for the object list were not added to it"),
              std::string::npos)
        << full.err.substr(full.err.size() > 2000 ? full.err.size() - 2000 : 0);
}

// A size limit as a shell sets it (SIGXFSZ not ignored) is a write error;
// an interruption removes the temporary file and ends as the signal asks.
TEST(UnwrittenOutputTest, SizeLimitsAndInterruptionsLeaveNoTemporaryFiles) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    directory.write("old.csv", "old");
    const HostRun limited =
        runHost("play --object builtin:grid:20x20 --settings s.plf --out old.csv", directory, "ulimit -f 1; ");
    EXPECT_EQ(limited.exitCode, 4);
    EXPECT_NE(limited.err.find("old.csv: cannot write (File too large)"), std::string::npos) << limited.err;
    EXPECT_EQ(fileText(directory.path() / "old.csv"), "old");

    // Interrupted once the temporary file is there (the play takes minutes).
    const std::string command =
        "cd '" + directory.path().string() + "' && { '" + PLOF_BIN_DIR +
        "/plof-host' play --object builtin:grid:400x400 --settings s.plf --frames 0..100000 --out big.csv & "
        "for i in $(seq 600); do ls -a | grep -q '^.big.csv.tmp-' && break; sleep 0.05; done; "
        "kill -TERM $!; wait $!; echo $? >status; }";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(fileText(directory.path() / "status"), "143\n");
    for (const auto &entry : std::filesystem::directory_iterator(directory.path())) {
        EXPECT_EQ(entry.path().filename().string().find(".big.csv"), std::string::npos) << entry.path();
    }
}

// The module's temporary file has a random name the host cannot know: an
// interrupted bake still leaves none, nor a scene.
TEST(UnwrittenOutputTest, AnInterruptedBakeLeavesNoTemporaryFile) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    // Interrupted once the module's temporary file is there (the bake takes a minute).
    const std::string command =
        "cd '" + directory.path().string() + "' && { '" + PLOF_BIN_DIR +
        "/plof-host' bake --object builtin:grid:300x300 --settings s.plf --frames 0..99 --out big.lws 2>err.txt & "
        "for i in $(seq 600); do ls -a | grep -q '^.big.lws.tmp-' && break; sleep 0.05; done; "
        "ls -a >seen.txt; kill -TERM $!; wait $!; echo $? >status; }";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_NE(fileText(directory.path() / "seen.txt").find(".big.lws.tmp-"), std::string::npos)
        << "the bake was not under way";
    EXPECT_EQ(fileText(directory.path() / "status"), "143\n") << fileText(directory.path() / "err.txt");
    for (const auto &entry : std::filesystem::directory_iterator(directory.path())) {
        EXPECT_EQ(entry.path().filename().string().find("big.lws"), std::string::npos) << entry.path();
    }
}

// A bake into a FIFO with a reader: the bytes arrive, and that is a success.
TEST(UnwrittenOutputTest, ABakeIntoAFifoIsWritten) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    const std::string command = "cd '" + directory.path().string() + "' && mkfifo f.lws && { cat f.lws >got.lws & '" +
                                PLOF_BIN_DIR +
                                "/plof-host' bake --object builtin:line:2 --settings s.plf --frames 3 --out f.lws "
                                "2>err.txt; echo $? >status; wait; }";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(fileText(directory.path() / "status"), "0\n") << fileText(directory.path() / "err.txt");
    EXPECT_EQ(fileText(directory.path() / "got.lws").rfind("LWSC", 0), 0u);
}

}  // namespace
}  // namespace plof::e2e
