// The host's own reading of the effect's lines and of its resting places,
// against the real plof.p in process: what the module saves after loading
// the lines, and where it puts points that are not flying.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "host/base/number_text.h"
#include "host/module/loaded_handler.h"
#include "host/module/module_loader.h"
#include "host/objects/builtin_shapes.h"
#include "host/play/frame_loop.h"
#include "host/play/resting_places.h"
#include "host/play/scene_services.h"
#include "host/run/host_process.h"
#include "host/settings/settings_reading.h"

namespace plof::host {
namespace {

// The host runs for the whole suite, as for the whole of a plof-host run.
const HostProcess kProcess;

const LoadedModule &plof() {
    static const std::unique_ptr<LoadedModule> module = LoadedModule::open(PLOF_MODULE_PATH);
    return *module;
}

MotionKey key(int32_t frame, Vec3 position, Vec3 rotation = {}) {
    MotionKey k;
    k.frame = frame;
    k.linear = 1;
    for (int c = 0; c < 3; ++c) {
        k.values[kX + c] = position[c];
        k.values[kHeading + c] = rotation[c];
    }
    return k;
}

// An emitter moving and turning far from the origin, and a null named `avoid`
// moving elsewhere.
HostScene scene(const std::vector<std::string> &lines, const std::string &avoid) {
    HostScene scene;
    HostItem emitter = makeObjectItem("Emitter", "builtin:sphere:12", builtinShapePoints("builtin:sphere:12"));
    emitter.motion = {key(0, {1000, 20, -30}, {0, 0, 0}), key(40, {1010, 25, -30}, {90, 30, 10})};
    emitter.hasEffect = true;
    emitter.effectLines = lines;
    HostItem null = makeObjectItem(avoid, "", {});
    null.isNull = true;
    null.motion = {key(0, {-5, 3, 7}), key(40, {5, 9, 7})};
    scene.items = {emitter, null};
    return scene;
}

TEST(EffectSettingsAgreementTest, TheHostReadsTheLinesAsTheModuleDoes) {
    const std::string longName(60, 'w');
    const std::vector<std::vector<std::string>> cases = {
        {"PLOF_START", "PLOF_END"},  // a new instance's values
        {"PLOF_START", "Grav 2.5", "Gravty 7", "AgeMin 12.9", "START_F -3.7", "SpreadMax 4,5", "V0Min lots", "V0Max",
         "OrgEmit 257", "Birth 1e12", "Regist inf", "ReC 0", "REFERENCE", longName, "PLOF_END", "AgeMax 1"},
        // The 7 lies beyond the line buffer: the effect reads no number.
        {"PLOF_START", "V0Min" + std::string(260, ' ') + "7", "SpreadMin -7.5", "", "AgeMax 3"},
        {"PLOF", "V0M 2", " AgeMin 4", "AgeMin 5"},
    };
    for (const std::vector<std::string> &lines : cases) {
        SCOPED_TRACE(lines.size());
        // The avoid object is named in full (names used to be cut to 49 characters).
        HostScene played = scene(lines, longName);
        HostServices services(played, 30.0);
        const EffectHandler handler(plof(), 2);
        EffectPlayer player(handler, played, services);
        player.playFrame(0, 0.0);  // finds the avoid object by name
        player.saveInstances();
        const EffectSettings read = readEffectSettings(lines);
        std::vector<std::string> expected{"PLOF_START"};
        for (std::size_t i = 0; i < kSettingCount; ++i) {
            expected.push_back(std::string(kSettingRules[i].keyword) + " " + fixedText(read.values[i]));
        }
        expected.push_back("REFERENCE");
        expected.push_back(read.avoidObject.empty() ? "none" : read.avoidObject);
        expected.push_back("PLOF_END");
        EXPECT_EQ(played.items[0].effectLines, expected);
    }
}

// With equal ages and no recycling, point i flies from its birth frame
// START_F + i * 30 / Birth through lifetime frames after it: the host's
// resting test must say "at rest" exactly outside those frames (and on the
// birth frame, where the effect hides the point), in every resting mode.
TEST(EffectSettingsAgreementTest, PointsAreAtRestExactlyWhenTheyAreNotFlying) {
    for (const char *orgEmit : {"0", "1"}) {
        for (const char *avoid : {"none", "Wall"}) {
            SCOPED_TRACE(std::string(orgEmit) + " " + avoid);
            const std::vector<std::string> lines{
                "PLOF_START", "V0Min 2",  "V0Max 3",   "AgeMin 6",     "AgeMax 6",
                "START_F 4",  "Birth 60", "ReCycle 0", "SpreadMax 90", std::string("OrgEmit ") + orgEmit,
                "REFERENCE",  avoid,      "PLOF_END"};
            HostScene played = scene(lines, "Wall");
            HostServices services(played, 30.0);
            const EffectHandler handler(plof(), 2);
            EffectPlayer player(handler, played, services);
            const EffectSettings settings = readEffectSettings(lines);
            RestingPlaces resting(played, 0, settings, 30.0);
            EXPECT_EQ(resting.avoidItem().has_value(), std::string(avoid) == "Wall");
            for (int32_t frame = 0; frame < 20; ++frame) {
                player.playFrame(frame, frame / 30.0);
                resting.setFrame(frame, frame / 30.0);
                const auto world = player.worldPoints(0);
                for (std::size_t p = 0; p < 12; ++p) {
                    const int32_t born = 4 + static_cast<int32_t>(p) * 30 / 60;
                    const bool flying = frame > born && frame <= born + 6;
                    EXPECT_EQ(resting.atRest(p, &world[3 * p]), !flying) << "frame " << frame << " point " << p;
                }
            }
        }
    }
}

}  // namespace
}  // namespace plof::host
