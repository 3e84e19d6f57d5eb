// plof-host summary on cases worked out by hand.
#include <nlohmann/json.hpp>

#include "host_run.h"

namespace plof::e2e {
namespace {

nlohmann::json summaryOf(const Settings &settings, const std::string &object, const std::string &frames = "0..59") {
    TempDirectory directory;
    directory.write("s.plf", settings.text());
    const HostRun run =
        runHost("summary --object " + object + " --settings s.plf --frames " + frames + " --json", directory);
    EXPECT_EQ(run.exitCode, kExitOk) << run.err;
    return nlohmann::json::parse(run.out).at("items").at(0);
}

// 13 points at Birth 100: period 13 x 30 / 100 = 3 frames. Point i starts
// at frame (i x 30) / 100 (0 for i < 4, 1 for 4..6, 2 for 7..9, 3 for 10..12)
// and every 3 frames after; it is hidden on its birth frame and flies the
// two frames after it, so no flight is longer than 2 frames. In 0..59: points
// 0-3 fly 20 times, 4-6 20 times (the last flight cut to frame 59), 7-12 19
// times: 254 flights. Straight up at speed 2 under gravity 9.8, the highest
// point is 2 x (2/30) - 4.9 x (2/30)^2 above the pivot.
TEST(SummaryCommandTest, ThirteenPointsAtBirth100RecycleEveryThreeFrames) {
    Settings settings;
    settings.AgeMin = 30;
    settings.AgeMax = 45;
    settings.Birth = 100;
    settings.ReCycle = 1;
    const nlohmann::json s = summaryOf(settings, "builtin:line:13");
    EXPECT_EQ(s["points"], 13);
    EXPECT_EQ(s["birthRate"], 100);
    EXPECT_EQ(s["periodFrames"], 3);
    EXPECT_EQ(s["firstLaunchFrame"], 0);
    EXPECT_EQ(s["lastLaunchFrame"], 59);
    EXPECT_EQ(s["flights"], 254);
    EXPECT_EQ(s["flightsPerPoint"]["min"], 19.0);
    EXPECT_EQ(s["flightsPerPoint"]["max"], 20.0);
    EXPECT_EQ(s["flightFrames"]["max"], 2.0);
    EXPECT_NEAR(s["highestAbovePivot"].get<double>(), 2.0 * 2 / 30 - 4.9 * (2.0 / 30) * (2.0 / 30), 1e-9);
    ASSERT_EQ(s["warnings"].size(), 2u) << s["warnings"];
    EXPECT_NE(s["warnings"][0].get<std::string>().find("recycle period is 3 frames"), std::string::npos);
    EXPECT_NE(s["warnings"][0].get<std::string>().find("at least 154 points"), std::string::npos);
    EXPECT_NE(s["warnings"][1].get<std::string>().find("on one line"), std::string::npos);
}

// Without recycling and with equal ages each point flies once, AgeMin frames.
TEST(SummaryCommandTest, OneFlightEachWithoutRecycling) {
    Settings settings;  // speed 2, ages 100, Birth 30: point i starts at frame i
    settings.AgeMin = settings.AgeMax = 5;
    settings.SpreadMax = 30;
    const nlohmann::json s = summaryOf(settings, "builtin:line:4", "0..29");
    EXPECT_EQ(s["flights"], 4);
    EXPECT_EQ(s["flightFrames"]["min"], 5.0);
    EXPECT_EQ(s["flightFrames"]["max"], 5.0);
    EXPECT_EQ(s["pointsInFlightPerFrame"]["max"], 4.0);  // frames 4 and 5
    EXPECT_EQ(s["firstLaunchFrame"], 0);
    EXPECT_EQ(s["lastLaunchFrame"], 3);
    EXPECT_TRUE(s["warnings"].empty()) << s["warnings"];
}

// Resting points wait at the avoid object, far from the emitter: they are
// at rest there, and each point still flies once, its AgeMin frames.
TEST(SummaryCommandTest, PointsWaitingAtTheAvoidObjectAreAtRest) {
    TempDirectory directory;
    Settings settings;
    settings.AgeMin = settings.AgeMax = 5;
    settings.SpreadMax = 30;
    settings.reference = "Hideout";
    std::string block = settings.text();
    directory.write("avoid.lws", "LWSC\n1\n\nLoadObject builtin:line:4\nPlugin DisplacementHandler 1 PLOF!\n" + block +
                                     "EndPlugin\n\nAddNullObject Hideout\nObjectMotion (unnamed)\n  9\n  1\n"
                                     "  7 1 0 0 0 0 1 1 1\n  0 0 0 0 0\nEndBehavior 1\n");
    const HostRun run = runHost("summary avoid.lws --frames 0..29 --json", directory);
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    const nlohmann::json s = nlohmann::json::parse(run.out).at("items").at(0);
    EXPECT_EQ(s["flights"], 4);
    EXPECT_EQ(s["flightFrames"]["max"], 5.0);
    EXPECT_GT(s["farthestFromPivot"].get<double>(), 7.0);  // the points waiting at the null count
}

TEST(SummaryCommandTest, EffectsThatLaunchNothingSaySoAndWhatToChange) {
    Settings settings;
    settings.SpreadMax = 30;
    settings.ReCycle = 1;
    settings.Birth = 200;  // 9 points: period 1, relaunched every frame
    nlohmann::json s = summaryOf(settings, "builtin:line:9");
    EXPECT_EQ(s["flights"], 0);
    ASSERT_EQ(s["warnings"].size(), 1u);
    EXPECT_NE(s["warnings"][0].get<std::string>().find("never leaves the emitter"), std::string::npos);
    settings.Birth = 0;
    s = summaryOf(settings, "builtin:line:9");
    EXPECT_EQ(s["periodFrames"], nullptr);
    EXPECT_NE(s["warnings"][0].get<std::string>().find("no particle is ever launched"), std::string::npos);
    settings.Birth = 30;
    settings.START_F = 70;
    s = summaryOf(settings, "builtin:line:9");
    EXPECT_NE(s["warnings"][0].get<std::string>().find("comes after the last frame 59"), std::string::npos);
    settings.START_F = 0;
    settings.Birth = 300;  // above 9 x 30
    s = summaryOf(settings, "builtin:line:9");
    EXPECT_NE(s["warnings"][0].get<std::string>().find("each particle flies once"), std::string::npos);
}

// What summary warns about is said on stderr by every command that plays
// the effect, once per item with the effect however often it plays the
// range (render plays it twice); the exit code stays 0. Two items of 13
// points at Birth 100: each period is 3 frames, below AgeMax.
TEST(SummaryCommandTest, EveryCommandThatPlaysTheEffectSaysTheWarningsOncePerItem) {
    TempDirectory directory;
    Settings settings;
    settings.Birth = 100;
    settings.ReCycle = 1;
    settings.SpreadMax = 30;
    const std::string block = "Plugin DisplacementHandler 1 PLOF!\n" + settings.text() + "EndPlugin\n";
    directory.write("two.lws",
                    "LWSC\n1\n\nLoadObject builtin:line:13\n" + block + "\nLoadObject builtin:grid:13x1\n" + block);
    directory.write("s.plf", settings.text());
    const std::string cut = " (item 1): the recycle period is 3 frames (13 points x 30 / 100)";
    for (const std::string command :
         {"play two.lws", "summary two.lws", "render two.lws --size 64x48 --out a.png", "export two.lws --out a.glb",
          "bake --object builtin:line:13 --settings s.plf --out b.lws"}) {
        const HostRun run = runHost(command + " --frames 0..9", directory);
        if (run.err.find("not available in this build") != std::string::npos) continue;
        EXPECT_EQ(run.exitCode, kExitOk) << command << ": " << run.err;
        const std::size_t first = run.err.find(cut);
        EXPECT_NE(first, std::string::npos) << command << ": " << run.err;
        EXPECT_EQ(run.err.find(cut, first + 1), std::string::npos) << command << ": " << run.err;
        // bake bakes the one emitter of --object.
        EXPECT_EQ(run.err.find("grid (item 2): the recycle period") == std::string::npos, command.starts_with("bake"))
            << run.err;
    }
}

// Names in the host's code page ("D\xfcse" is "Düse" in Windows-1252) are
// UTF-8 in JSON; positions that are not finite are left out and warned about.
TEST(SummaryCommandTest, JsonHoldsCodePageNamesAndWarnsOfPositionsNotFinite) {
    TempDirectory directory;
    Settings settings;
    settings.V0Min = settings.V0Max = HUGE_VAL;
    settings.SpreadMax = 10;
    directory.write("D\xfcse.obj", "v 0 0 0\nv 1 0 0\n");
    directory.write("s.lws",
                    "LWSC\n1\n\nFirstFrame 0\nLastFrame 9\n\nLoadObject D\xfcse.obj\n"
                    "Plugin DisplacementHandler 1 PLOF!\n" +
                        settings.text() + "EndPlugin\n");
    const HostRun run = runHost("summary s.lws --json", directory);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const nlohmann::json item = nlohmann::json::parse(run.out).at("items").at(0);
    EXPECT_EQ(item.at("name"), "D\xc3\xbcse");
    ASSERT_EQ(item.at("warnings").size(), 1u) << item;
    EXPECT_NE(item.at("warnings").at(0).get<std::string>().find("19 positions (points x frames) are not finite"),
              std::string::npos);
}

}  // namespace
}  // namespace plof::e2e
