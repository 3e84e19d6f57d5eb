// plof-host play through the loaded plof.p: every point of every frame
// against the particle flight computed here from the module's documented
// schedule, launch rule and random generator.
#include <array>
#include <cmath>
#include <functional>

#include <algorithm>

#include "host_run.h"

namespace plof::e2e {
namespace {

using Vec3 = std::array<double, 3>;

struct EmitterPose {
    Vec3 position{0, 0, 0};
    Vec3 x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};
};
using EmitterMotion = std::function<EmitterPose(double time)>;

// Where point i is at (frame, time) for settings with equal speed bounds,
// equal spread bounds of 0, equal ages, no recycling and OrgEmit 0: every
// particle draws one azimuth, nothing else.
class ExpectedFlight {
public:
    ExpectedFlight(const Settings &settings, int32_t points, EmitterMotion motion)
        : settings_(settings), motion_(std::move(motion)) {
        ModuleRandom random;
        const double degrees = 3.1415 / 180.0;  // the module's own degrees-to-radians
        const double elevation = 90.0 * degrees;
        for (int32_t i = 0; i < points; ++i) {
            const double azimuth = (random.next() % 360) * degrees;
            const double v = settings.V0Min;
            launch_.push_back({v * std::cos(elevation) * std::cos(azimuth), v * std::sin(elevation),
                               v * std::cos(elevation) * std::sin(azimuth)});
        }
    }

    Vec3 at(int32_t i, int32_t frame, double time) const {
        const auto birth = static_cast<int32_t>(settings_.Birth);
        const auto start = static_cast<int32_t>(settings_.START_F);
        const int32_t birthFrame = start + i * 30 / birth;
        const double birthTime = start / 30.0 + static_cast<double>(i) / birth;
        if (frame < start || birthTime > time || frame - birthFrame > settings_.AgeMin) {
            return motion_(time).position;  // resting at the pivot
        }
        const EmitterPose pose = motion_(birthTime);
        const Vec3 &l = launch_[static_cast<std::size_t>(i)];
        Vec3 w;
        for (int c = 0; c < 3; ++c) {
            w[c] = l[0] * pose.x[c] + l[1] * pose.y[c] + l[2] * pose.z[c];
        }
        const double t = time - birthTime, g = settings_.Gravity, k = settings_.Regist;
        Vec3 flight;
        if (k == 0) {
            flight = {w[0] * t, w[1] * t - t * t * g / 2, w[2] * t};
        } else {
            const double e = std::exp(-k * t);
            flight = {(1 - e) * w[0] / k, (1 - e) * ((g / k + w[1]) / k) - g / k * t, (1 - e) * w[2] / k};
        }
        return {pose.position[0] + flight[0], pose.position[1] + flight[1], pose.position[2] + flight[2]};
    }

private:
    Settings settings_;
    EmitterMotion motion_;
    std::vector<Vec3> launch_;
};

void expectRows(const Csv &csv, const ExpectedFlight &expected, int32_t points, int32_t firstFrame, int32_t lastFrame,
                double fps) {
    ASSERT_EQ(csv.header, "frame,point,x,y,z");
    ASSERT_EQ(csv.rows.size(), static_cast<std::size_t>((lastFrame - firstFrame + 1) * points));
    std::size_t row = 0;
    for (int32_t frame = firstFrame; frame <= lastFrame; ++frame) {
        for (int32_t point = 0; point < points; ++point, ++row) {
            const std::vector<double> &r = csv.rows[row];
            ASSERT_EQ(r.size(), 5u);
            ASSERT_EQ(r[0], frame);
            ASSERT_EQ(r[1], point);
            const Vec3 want = expected.at(point, frame, frame / fps);
            for (int c = 0; c < 3; ++c) {
                EXPECT_NEAR(r[2 + static_cast<std::size_t>(c)], want[c], 1e-9)
                    << "frame " << frame << " point " << point << " coordinate " << c;
            }
        }
    }
}

TEST(PlayTest, StillEmitterPointsFlyTheClosedFormFlight) {
    TempDirectory directory;
    const Settings settings;  // speed 2 straight up, 30 particles a second
    directory.write("s.plf", settings.text());
    const HostRun run = runHost("play --object builtin:line:4 --settings s.plf --frames 0..10", directory);
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    // Straight up with no spread: the one thing to say, as summary says it.
    EXPECT_EQ(run.err,
              "plof-host: warning: Emitter (item 1): OrgEmit is off and the spread is 0: every point leaves "
              "straight along the emitter's +Y axis, on one line; widen \"Spread Max\" (e.g. 15) or turn "
              "\"OrgEmitter\" on\n");
    const ExpectedFlight expected(settings, 4, [](double) { return EmitterPose{}; });
    expectRows(parseCsv(run.out), expected, 4, 0, 10, 30.0);
    // A spot check by hand: point 0 at frame 3 (t = 0.1 s) has risen 2·0.1 − 9.8·0.01/2.
    EXPECT_NEAR(parseCsv(run.out).rows[12][3], 0.151, 1e-6);
}

// A tiny resistance used to throw a dropped particle to -9.8e12 (1e-12) or
// -16.84 (1e-8) after one second: the closed form cancelled its digits away.
TEST(PlayTest, TinyResistanceFallsAsFreeFallDoes) {
    TempDirectory directory;
    for (const std::string regist : {"1e-12", "1e-8", "0"}) {
        Settings settings;
        settings.V0Min = settings.V0Max = 0;
        std::string text = settings.text();
        text.replace(text.find("Regist 0.000000"), 15, "Regist " + regist);
        directory.write("s.plf", text);
        const HostRun run = runHost("play --object builtin:line:1 --settings s.plf --frames 30..30", directory);
        ASSERT_EQ(run.exitCode, kExitOk) << run.err;
        const Csv csv = parseCsv(run.out);
        ASSERT_EQ(csv.rows.size(), 1u);
        EXPECT_NEAR(csv.rows[0][3], -4.9, 1e-6) << "Regist " << regist;
    }
}

TEST(PlayTest, MovingEmitterLeavesATrailFromWhereEachParticleWasBorn) {
    TempDirectory directory;
    Settings settings;
    settings.Regist = 0.5;
    directory.write("s.plf", settings.text());
    const HostRun run = runHost(
        "play --object builtin:line:5 --settings s.plf --frames 0..40 "
        "--motion '0:0,0,0:0,0,0;30:3,0,0:0,0,0'",
        directory);
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    const ExpectedFlight expected(settings, 5, [](double time) {
        EmitterPose pose;
        pose.position[0] = std::min(time, 1.0) * 3.0;
        return pose;
    });
    expectRows(parseCsv(run.out), expected, 5, 0, 40, 30.0);
}

TEST(PlayTest, PitchedEmitterLaunchesAlongItsOwnYAxis) {
    TempDirectory directory;
    const Settings settings;
    directory.write("s.plf", settings.text());
    const HostRun run =
        runHost("play --object builtin:line:3 --settings s.plf --frames 0..6 --motion '0:1,2,3:0,90,0'", directory);
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    // Pitch 90: the item's Y axis is world +Z, its Z axis world −Y.
    const ExpectedFlight expected(settings, 3, [](double) {
        EmitterPose pose;
        pose.position = {1, 2, 3};
        pose.y = {0, 0, 1};
        pose.z = {0, -1, 0};
        return pose;
    });
    expectRows(parseCsv(run.out), expected, 3, 0, 6, 30.0);
}

// With OrgEmit on and nothing launched yet, each point rests on its own
// place: frame 0 lists the points in the order the host handed them over.
TEST(PlayTest, ShuffledPointsReachTheModuleInTheSeedsOrder) {
    TempDirectory directory;
    Settings settings;
    settings.OrgEmit = 1;
    settings.START_F = 10;
    directory.write("s.plf", settings.text());
    const std::string play = "play --object builtin:grid:4x4 --settings s.plf --frames 0..0";
    const HostRun shuffled = runHost(play + " --shuffle-points 7", directory);
    ASSERT_EQ(shuffled.exitCode, kExitOk) << shuffled.err;
    EXPECT_EQ(runHost(play + " --shuffle-points 7", directory).out, shuffled.out);
    EXPECT_NE(runHost(play + " --shuffle-points 8", directory).out, shuffled.out);
    std::vector<std::vector<double>> before = parseCsv(runHost(play, directory).out).rows;
    std::vector<std::vector<double>> after = parseCsv(shuffled.out).rows;
    ASSERT_EQ(after.size(), 16u);
    for (auto *rows : {&before, &after}) {
        for (auto &row : *rows) row.erase(row.begin(), row.begin() + 2);  // frame and point number
    }
    EXPECT_NE(after, before);
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before);  // the same points, x, y and z kept together
}

TEST(PlayTest, FramesPerSecondSetsTheHostTime) {
    TempDirectory directory;
    const Settings settings;
    directory.write("s.plf", settings.text());
    const HostRun run = runHost("play --object builtin:line:6 --settings s.plf --frames 2..9 --fps 24", directory);
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    const ExpectedFlight expected(settings, 6, [](double) { return EmitterPose{}; });
    expectRows(parseCsv(run.out), expected, 6, 2, 9, 24.0);
}

TEST(PlayTest, InterfaceVersionOneGivesTheSamePoints) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    const std::string arguments =
        "play --object builtin:grid:3x3 --settings s.plf --frames 0..12 --motion '0:0,0,0:0,0,0;12:1,1,0:45,0,0'";
    const HostRun version2 = runHost(arguments, directory);
    const HostRun version1 = runHost(arguments + " --interface 1", directory);
    ASSERT_EQ(version2.exitCode, kExitOk) << version2.err;
    ASSERT_EQ(version1.exitCode, kExitOk) << version1.err;
    EXPECT_EQ(version1.out, version2.out);
}

TEST(PlayTest, OutFileHoldsWhatStandardOutputWouldAndObjectFilesWork) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    directory.write("two.obj", "v 0 0 0\nv 1 0 0\n");
    const HostRun toStdout = runHost("play --object two.obj --settings s.plf --frames 0..3", directory);
    const HostRun toFile = runHost("play --object two.obj --settings s.plf --frames 0..3 --out points.csv", directory);
    ASSERT_EQ(toFile.exitCode, kExitOk) << toFile.err;
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(fileText(directory / "points.csv"), toStdout.out);
    EXPECT_EQ(parseCsv(toStdout.out).rows.size(), 8u);
}

TEST(PlayTest, OutputsThatCannotBeWrittenKeepTheOldFiles) {
    TempDirectory directory;
    directory.write("s.plf", Settings{}.text());
    directory.write("points.csv", "old points");
    // 100 points x 60 frames is far more than the 8 blocks the limit allows.
    const HostRun limited = runHost("play --object builtin:line:100 --settings s.plf --out points.csv", directory,
                                    "ulimit -f 8; trap '' XFSZ; ");
    EXPECT_EQ(limited.exitCode, kExitFailure) << limited.err;
    EXPECT_NE(limited.err.find("points.csv: cannot write (File too large)"), std::string::npos) << limited.err;
    EXPECT_EQ(fileText(directory / "points.csv"), "old points");

    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(directory.path()), std::filesystem::directory_iterator()), 4)
        << "s.plf, points.csv and the captured output only: no temporary file left";
}

}  // namespace
}  // namespace plof::e2e
