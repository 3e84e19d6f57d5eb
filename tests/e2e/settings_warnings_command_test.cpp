// Settings warnings as each command shows them: naming the file and line,
// once each, for a .plf given to play and bake, a scene's effect block, and
// a .plf loaded through the options panel's "L".
#include "host_run.h"

namespace plof::e2e {
namespace {

std::size_t count(const std::string &text, const std::string &part) {
    std::size_t found = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
    return found;
}

// Line 2 misspelt, line 3 longer than the effect's line buffer.
const std::string kOddSettings = "PLOF_START\nGravty 2.0\nV0Max 2" + std::string(300, '0') + "\nPLOF_END\n";

TEST(SettingsWarningsCommandTest, PlayAndBakeNameTheFileAndLineOnce) {
    TempDirectory directory;
    directory.write("odd.plf", kOddSettings);
    const HostRun play = runHost("play --object builtin:line:2 --settings odd.plf --frames 0..1", directory);
    const HostRun bake =
        runHost("bake --object builtin:line:2 --settings odd.plf --frames 2 --out baked.lws", directory);
    for (const HostRun &run : {play, bake}) {
        EXPECT_EQ(run.exitCode, kExitOk) << run.err;
        EXPECT_EQ(count(run.err, "odd.plf:2: \"Gravty\" is no setting"), 1u) << run.err;
        EXPECT_EQ(count(run.err, "odd.plf:3: longer than the effect's line buffer"), 1u) << run.err;
        EXPECT_EQ(count(run.err, "warning: odd.plf"), 2u) << run.err;
    }
}

TEST(SettingsWarningsCommandTest, AScenesEffectBlockIsNamedByItsLineInTheScene) {
    TempDirectory directory;
    directory.write("s.lws",
                    "LWSC\n1\n\nLoadObject builtin:line:2\nPlugin DisplacementHandler 1 PLOF!\n"
                    "PLOF_START\nBirth 10\nSpreadmax 90\nPLOF_END\nEndPlugin\n");
    const HostRun run = runHost("play s.lws --frames 0..1", directory);
    EXPECT_EQ(run.exitCode, kExitOk) << run.err;
    EXPECT_EQ(count(run.err,
                    "s.lws:8: \"Spreadmax\" is no setting, so the effect skips this line; did you mean "
                    "\"SpreadMax\"?"),
              1u)
        << run.err;
    EXPECT_EQ(count(run.err, "warning: s.lws"), 1u) << run.err;
}

// A panel label for a keyword names the keyword; a documented value that the
// panel does not offer is one short line a run, however many items read it.
TEST(SettingsWarningsCommandTest, LabelsNameTheirKeywordAndDocumentedValuesAreToldOnce) {
    TempDirectory directory;
    const std::string block =
        "Plugin DisplacementHandler 1 PLOF!\nPLOF_START\nBirthRate 10\nOrgEmit 2\nPLOF_END\nEndPlugin\n";
    directory.write("s.lws",
                    "LWSC\n1\n\nLoadObject builtin:line:2\n" + block + "\nLoadObject builtin:line:3\n" + block);
    const HostRun run = runHost("play s.lws --frames 0..1", directory);
    EXPECT_EQ(run.exitCode, kExitOk) << run.err;
    EXPECT_EQ(count(run.err,
                    ": \"BirthRate\" is no setting, so the effect skips this line; did you mean "
                    "\"Birth\"?"),
              2u)
        << run.err;
    EXPECT_EQ(count(run.err, "s.lws: OrgEmit 2: particles start from each point's own place"), 1u) << run.err;
}

TEST(SettingsWarningsCommandTest, TheLoadButtonWarnsAboutTheFileItLoads) {
    TempDirectory directory;
    directory.write("odd.plf", kOddSettings);
    directory.write("load.txt", "press \"L\"\nchoose \"odd.plf\"\nconfirm\n");
    const HostRun run = runHost("panel --object builtin:line:2 --script load.txt", directory);
    EXPECT_EQ(run.exitCode, kExitOk) << run.err;
    EXPECT_EQ(count(run.err, "odd.plf:2: \"Gravty\" is no setting"), 1u) << run.err;
    EXPECT_EQ(count(run.err, "odd.plf:3: longer than the effect's line buffer"), 1u) << run.err;
}

}  // namespace
}  // namespace plof::e2e
