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

namespace plof::host::studio {
namespace {

// A front that cannot keep one session alive (the page in the browser)
// writes the documents out after each answer and opens the next session
// from them: that session plays only when asked, and a change played there
// is the change played in the session that lived on.
TEST(StudioSessionTest, ASessionRestoredFromItsTextAnswersAndChangesAsTheOneThatLivedOn) {
    const HostProcess process;
    TempDirectory dir;
    const ConfinedFolder saves(dir.path().string());
    const PlaybackInputs inputs = emitterInputs(dir, Settings{}, {0, 12});
    StudioSession lived(inputs, saves);
    lived.changeSettings(1, {{"Birth", 300}});
    lived.changeRange({{"from", 2}, {"to", 20}, {"fps", 24}});
    lived.undo();
    const std::string text = lived.text();

    StudioSession restored(inputs, saves, text);
    EXPECT_FALSE(restored.played());
    EXPECT_EQ(restored.state(), lived.state());
    EXPECT_EQ(restored.frames(0, 12), lived.frames(0, 12));
    EXPECT_EQ(restored.text(), text);

    // A change in a session that has not played starts from the settings of
    // the document it shows, as the live one starts from its play's.
    StudioSession changed(inputs, saves, text);
    EXPECT_EQ(changed.changeSettings(1, {{"Gravity", -2}}), lived.changeSettings(1, {{"Gravity", -2}}));
    EXPECT_EQ(changed.frames(0, 12), lived.frames(0, 12));
    StudioSession redone(inputs, saves, text);
    EXPECT_EQ(redone.redo()["frames"], nlohmann::ordered_json({{"first", 2}, {"last", 20}}));

    PlaybackInputs wider = inputs;
    wider.scene.items.push_back(wider.scene.items.front());
    EXPECT_THROW(StudioSession(wider, saves, text), InputError);
    EXPECT_THROW(StudioSession(inputs, saves, text.substr(0, text.size() / 2)), InputError);
    EXPECT_THROW(StudioSession(inputs, saves, R"({"steps": []})"), InputError);
    nlohmann::json pastTheSteps = nlohmann::json::parse(text);
    pastTheSteps["at"] = pastTheSteps["steps"].size();
    EXPECT_THROW(StudioSession(inputs, saves, pastTheSteps.dump()), InputError);
}

// A .plf file in the studio's folder is loaded into the item's effect as
// --settings hands it over; a name outside the folder, or a file that is no
// settings file, is refused beside the field and changes nothing.
TEST(StudioSessionTest, ASettingsFileOfTheFolderIsLoadedAsSettingsHandsItOver) {
    const HostProcess process;
    TempDirectory dir;
    Settings snow;
    snow.Gravity = -0.5;
    snow.Birth = 40;
    dir.write("snow.plf", snow.text());
    dir.write("not.plf", "hello\n");
    const ConfinedFolder saves(dir.path().string());
    StudioSession session(emitterInputs(dir, Settings{}, {0, 12}), saves);
    const nlohmann::json loaded = session.loadSettingsFile(1, {{"file", "snow.plf"}});
    EXPECT_EQ(loaded["revision"], 1);
    StudioSession fromFile(emitterInputs(dir, snow, {0, 12}), saves);
    EXPECT_EQ(session.frames(0, 12), fromFile.frames(0, 12));
    for (const char *refused : {"../snow.plf", "not.plf", "missing.plf"}) {
        try {
            session.loadSettingsFile(1, {{"file", refused}});
            ADD_FAILURE() << refused << " was loaded";
        } catch (const BadRequest &bad) {
            EXPECT_EQ(bad.field(), "file") << refused;
        }
    }
    EXPECT_EQ(session.revision(), 1u);
}

}  // namespace
}  // namespace plof::host::studio
