// plof-host bake through the module's panels, then the baked scene played
// back without the effect: every particle object sits where the simulation,
// computed here from the module's documented flight, schedule and random
// generator, puts the particle, and is dissolved exactly while the bake's
// rules say it is hidden.
#include <array>
#include <cmath>
#include <map>

#include "host_run.h"

namespace plof::e2e {
namespace {

using Vec3 = std::array<double, 3>;

// The emitter moves along +X at 0.1 units per frame (3 per second).
constexpr const char *kMotion = "'0:0,0,0:0,0,0;60:6,0,0:0,0,0'";
Vec3 emitterAt(double time) { return {3.0 * time, 0.0, 0.0}; }

// The particles of settings with equal speed bounds, spread bounds of 0, equal
// ages and no recycling: each particle draws one azimuth when the instance is
// loaded from its settings, and baking samples frame f at time f / 30.
class BakedFlight {
public:
    BakedFlight(const Settings &settings, int32_t points) : settings_(settings) {
        ModuleRandom random;
        const double degrees = 3.1415 / 180.0;
        const double elevation = 90.0 * degrees;
        for (int32_t i = 0; i < points; ++i) {
            const double azimuth = (random.next() % 360) * degrees;
            launch_.push_back({settings.V0Min * std::cos(elevation) * std::cos(azimuth),
                               settings.V0Min * std::sin(elevation),
                               settings.V0Min * std::cos(elevation) * std::sin(azimuth)});
        }
    }

    int32_t birthFrame(int32_t i) const {
        return static_cast<int32_t>(settings_.START_F) + i * 30 / static_cast<int32_t>(settings_.Birth);
    }
    double birthTime(int32_t i) const { return settings_.START_F / 30.0 + static_cast<double>(i) / settings_.Birth; }
    bool inFlight(int32_t i, int32_t frame) const {
        return frame >= settings_.START_F && birthTime(i) <= frame / 30.0 && frame - birthFrame(i) <= settings_.AgeMin;
    }
    // Not shown: resting, or on its birth frame.
    bool hidden(int32_t i, int32_t frame) const { return !inFlight(i, frame) || frame == birthFrame(i); }

    Vec3 position(int32_t i, int32_t frame) const {
        const double time = frame / 30.0;
        if (!inFlight(i, frame)) return emitterAt(time);
        const Vec3 origin = emitterAt(birthTime(i));
        const Vec3 &w = launch_[static_cast<std::size_t>(i)];
        const double t = time - birthTime(i), g = settings_.Gravity, k = settings_.Regist;
        const double e = std::exp(-k * t);
        return {origin[0] + (1 - e) * w[0] / k, origin[1] + (1 - e) * ((g / k + w[1]) / k) - g / k * t,
                origin[2] + (1 - e) * w[2] / k};
    }

private:
    Settings settings_;
    std::vector<Vec3> launch_;
};

Settings bakedSettings() {
    Settings settings;
    settings.V0Min = settings.V0Max = 2;
    settings.AgeMin = settings.AgeMax = 12;
    settings.START_F = 3;
    settings.Birth = 12;
    settings.Regist = 0.5;
    return settings;
}

// Rows of the played baked scene: frame,item,point,x,y,z,dissolve with the
// null object as item 1 and particle p as item p + 2.
struct PlayedRow {
    Vec3 position;
    double dissolve;
};

std::map<std::pair<int, int>, PlayedRow> playBaked(const TempDirectory &directory, const std::string &frames) {
    const HostRun run = runHost("play baked.lws --frames " + frames, directory);
    EXPECT_EQ(run.exitCode, kExitOk) << run.err;
    const Csv csv = parseCsv(run.out);
    EXPECT_EQ(csv.header, "frame,item,point,x,y,z,dissolve");
    std::map<std::pair<int, int>, PlayedRow> rows;
    for (const std::vector<double> &r : csv.rows) {
        if (r.size() != 7) {
            ADD_FAILURE() << "a row of " << r.size() << " fields";
            continue;
        }
        rows[{static_cast<int>(r[0]), static_cast<int>(r[1])}] = {{r[3], r[4], r[5]}, r[6]};
    }
    return rows;
}

// The scene holds six decimals; the played position is read back from them.
constexpr double kSixDecimals = 5e-7 + 1e-9;

TEST(BakePlayTest, EveryFrameOfTheBakedSceneReplaysTheSimulation) {
    TempDirectory directory;
    const Settings settings = bakedSettings();
    directory.write("s.plf", settings.text());
    directory.write("a.lwo", "");
    directory.write("b.lwo", "");
    const HostRun bake = runHost(std::string("bake --object builtin:line:4 --settings s.plf --frames 30 --step 1 "
                                             "--dissolve --objects a.lwo,b.lwo --out baked.lws --motion ") +
                                     kMotion,
                                 directory);
    ASSERT_EQ(bake.exitCode, kExitOk) << bake.err;
    EXPECT_NE(bake.err.find("baked.lws"), std::string::npos) << bake.err;

    // The two files added through the baking panel's file dialog go to the
    // particles in turn.
    const std::string scene = fileText(directory.path() / "baked.lws");
    std::vector<std::string> loaded;
    for (std::size_t at = scene.find("LoadObject "); at != std::string::npos; at = scene.find("LoadObject ", at + 1)) {
        loaded.push_back(scene.substr(at + 11, scene.find('\r', at) - at - 11));
    }
    // The dialog returns each file's full path.
    const std::string a = directory / "a.lwo", b = directory / "b.lwo";
    EXPECT_EQ(loaded, (std::vector<std::string>{a, b, a, b}));

    // Played without the object files, each particle is one row at its pivot.
    std::filesystem::remove(a);
    std::filesystem::remove(b);
    const BakedFlight flight(settings, 4);
    const auto rows = playBaked(directory, "0..29");
    ASSERT_EQ(rows.size(), 30u * 5u);
    int shownFrames = 0;
    for (int frame = 0; frame < 30; ++frame) {
        for (int p = 0; p < 4; ++p) {
            const PlayedRow &row = rows.at({frame, p + 2});
            const Vec3 want = flight.position(p, frame);
            for (std::size_t c = 0; c < 3; ++c) {
                EXPECT_NEAR(row.position[c], want[c], kSixDecimals)
                    << "frame " << frame << " particle " << p << " coordinate " << c;
            }
            // With a step of 1 a particle is shown only when it is shown at
            // this frame and at the next sampled one; frame 0 is always dissolved.
            const bool dissolved =
                frame == 0 || flight.hidden(p, frame) || (frame + 1 < 30 && flight.hidden(p, frame + 1));
            EXPECT_EQ(row.dissolve, dissolved ? 1.0 : 0.0) << "frame " << frame << " particle " << p;
            shownFrames += dissolved ? 0 : 1;
        }
    }
    // A hand count for particle 0 (born at frame 3, flying to frame 15): shown
    // at frames 4 to 14; the others are shown 11 frames each as well, which the
    // 30 frames hold for all four (the last, born at frame 10, flies to 22).
    EXPECT_EQ(shownFrames, 4 * 11);
    // A spot check by hand: particle 0 at frame 9 has flown 0.2 s from x 0.3.
    const double e = std::exp(-0.1);
    EXPECT_NEAR(rows.at({9, 2}).position[1], (1 - e) * ((19.6 + 2.0) / 0.5) - 19.6 * 0.2, kSixDecimals);
}

TEST(BakePlayTest, LargerStepKeysOnlySampledFramesAndDissolvesOnlyHiddenOnes) {
    TempDirectory directory;
    const Settings settings = bakedSettings();
    directory.write("s.plf", settings.text());
    const HostRun bake = runHost(std::string("bake --object builtin:line:3 --settings s.plf --frames 20 --step 3 "
                                             "--dissolve --out baked.lws --motion ") +
                                     kMotion,
                                 directory);
    ASSERT_EQ(bake.exitCode, kExitOk) << bake.err;
    const BakedFlight flight(settings, 3);
    const auto rows = playBaked(directory, "0..18");
    for (int frame = 0; frame < 20; frame += 3) {
        for (int p = 0; p < 3; ++p) {
            const PlayedRow &row = rows.at({frame, p + 2});
            const Vec3 want = flight.position(p, frame);
            for (std::size_t c = 0; c < 3; ++c) {
                EXPECT_NEAR(row.position[c], want[c], kSixDecimals) << "frame " << frame << " particle " << p;
            }
            const bool dissolved = frame == 0 || flight.hidden(p, frame);
            EXPECT_EQ(row.dissolve, dissolved ? 1.0 : 0.0) << "frame " << frame << " particle " << p;
        }
    }
    // Particle 0 is born at frame 3, a sampled frame: hidden there, shown at 6.
    EXPECT_EQ(rows.at({3, 2}).dissolve, 1.0);
    EXPECT_EQ(rows.at({6, 2}).dissolve, 0.0);
}

// The host has shown the emitter's first frame before the options are
// opened, so a bake that emits from the points adds each point's own place:
// resting particles of a still emitter sit on their points, not at its pivot.
TEST(BakePlayTest, EmittingFromThePointsKeepsEachRestingParticleOnItsPoint) {
    TempDirectory directory;
    Settings settings;
    settings.OrgEmit = 1;
    settings.START_F = 1000;  // nothing is born within the baked frames
    directory.write("s.plf", settings.text());
    const HostRun bake = runHost("bake --object builtin:line:3 --settings s.plf --frames 3 --out baked.lws", directory);
    ASSERT_EQ(bake.exitCode, kExitOk) << bake.err;
    const HostRun run = runHost("play baked.lws --frames 0..2", directory);
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    const Csv csv = parseCsv(run.out);
    ASSERT_EQ(csv.header, "frame,item,point,x,y,z");
    int checked = 0;
    for (const std::vector<double> &row : csv.rows) {
        const int item = static_cast<int>(row[1]);
        if (item < 2) continue;  // the parent null
        // builtin:line:3 puts point p at (p, 0, 0).
        EXPECT_EQ(row[3], item - 2.0) << "frame " << row[0] << " item " << item;
        EXPECT_EQ(row[4], 0.0);
        EXPECT_EQ(row[5], 0.0);
        ++checked;
    }
    EXPECT_EQ(checked, 9);
}

// Under heading 90 play shows point p of the line at (0, 0, -p); the bake
// used to add the point's place unturned, at (p, 0, 0).
TEST(BakePlayTest, EmittingFromThePointsOfATurnedEmitterBakesWherePlayShowsThem) {
    TempDirectory directory;
    Settings settings;
    settings.OrgEmit = 1;
    settings.START_F = 100;
    directory.write("s.plf", settings.text());
    ASSERT_EQ(runHost("bake --object builtin:line:3 --settings s.plf --motion '0:0,0,0:90,0,0' --frames 2 "
                      "--out baked.lws",
                      directory)
                  .exitCode,
              kExitOk);
    const Csv baked = parseCsv(runHost("play baked.lws --frames 1..1", directory).out);
    ASSERT_EQ(baked.rows.size(), 4u);  // the parent null, then one object per point
    for (std::size_t p = 0; p < 3; ++p) {
        EXPECT_NEAR(baked.rows[p + 1][3], 0.0, 1e-6) << "point " << p;
        EXPECT_NEAR(baked.rows[p + 1][5], -static_cast<double>(p), 1e-6) << "point " << p;
    }
}

TEST(BakePlayTest, UnwritableSceneIsReportedAsAFailure) {
    TempDirectory directory;
    directory.write("s.plf", bakedSettings().text());
    const HostRun run = runHost("bake --object builtin:line:2 --settings s.plf --out no/such/dir/baked.lws", directory);
    EXPECT_EQ(run.exitCode, kExitFailure) << run.err;
    EXPECT_NE(run.err.find("no/such/dir/baked.lws: the module wrote no scene there"), std::string::npos) << run.err;
    // The module says so itself, once, naming the file.
    const std::string said = "PLOF!: Can't write scene file ";
    const std::size_t at = run.err.find(said);
    ASSERT_NE(at, std::string::npos) << run.err;
    EXPECT_NE(run.err.find("no/such/dir/baked.lws", at), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find(said, at + 1), std::string::npos) << run.err;
}

}  // namespace
}  // namespace plof::e2e
