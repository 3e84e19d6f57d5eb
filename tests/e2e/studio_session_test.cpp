// The studio's session driven directly, as any front drives it: each play's
// warnings are in its state and only the first play's reach the terminal;
// what the host cannot carry out as asked is a RequestError, which a front
// answers as the client's mistake, in the host's words.
#include "host/studio/studio_session.h"

#include <gtest/gtest.h>

#include "e2e/host_run.h"
#include "host/base/host_error.h"
#include "host/run/emitter_scene.h"
#include "host/run/host_process.h"

namespace plof::host::studio {
namespace {

using e2e::Settings;
using e2e::TempDirectory;

// A line of four points with `settings`, played over `frames`.
PlaybackInputs emitterInputs(const TempDirectory &dir, const Settings &settings, FrameRange frames) {
    PlaybackInputs inputs;
    inputs.modulePath = PLOF_MODULE_PATH;
    inputs.frames = frames;
    inputs.scene = emitterScene({.object = "builtin:line:4",
                                 .pointShuffle = std::nullopt,
                                 .settingsFile = dir.write("start.plf", settings.text())},
                                frames, inputs.fps);
    return inputs;
}

TEST(StudioSessionTest, EachPlaysWarningsAreInItsStateAndOnlyTheFirstPlaysOnTheTerminal) {
    const HostProcess process;
    TempDirectory dir;
    Settings silent;  // Birth 0: nothing is ever launched
    silent.Birth = 0;
    const ConfinedFolder saves(dir.path().string());
    ::testing::internal::CaptureStderr();
    StudioSession session(emitterInputs(dir, silent, {0, 10}), saves);
    const std::string terminal = ::testing::internal::GetCapturedStderr();
    const nlohmann::json first = session.state()["warnings"];
    ASSERT_EQ(first.size(), 2u) << first;  // nothing launched; every point on one line
    EXPECT_NE(terminal.find("warning: " + first[0].get<std::string>()), std::string::npos) << terminal;

    ::testing::internal::CaptureStderr();
    const nlohmann::json changed = session.changeSettings(1, {{"Birth", 1000}, {"ReCycle", 1}, {"SpreadMax", 20}});
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    ASSERT_EQ(changed["warnings"].size(), 1u) << changed["warnings"];
    EXPECT_NE(changed["warnings"][0].get<std::string>().find("Birth 1000 is above points x 30"), std::string::npos);
    EXPECT_EQ(changed["revision"], 1);
}

TEST(StudioSessionTest, AnExportBeyondFloat32TimesIsARequestErrorInTheHostsWords) {
    const HostProcess process;
    TempDirectory dir;
    const ConfinedFolder saves(dir.path().string());
    StudioSession session(emitterInputs(dir, Settings{}, {2147483645, 2147483647}), saves);
    try {
        session.save({{"kind", "glb"}, {"name", "far"}});
        FAIL() << "the export was written";
    } catch (const RequestError &refused) {
        const std::string message = refused.what();
        EXPECT_NE(message.find("float32 times cannot tell them apart"), std::string::npos) << message;
        EXPECT_EQ(message.find("--frames"), std::string::npos) << message;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "far.glb"));
}

}  // namespace
}  // namespace plof::host::studio
