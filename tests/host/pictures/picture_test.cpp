// The host's picture pieces: the camera's projections, framing that
// outliers do not stretch, and an item drawn at its keyed places.
#include <gtest/gtest.h>

#include <optional>

#include "host/pictures/picture_camera.h"
#include "host/pictures/picture_framing.h"
#include "host/pictures/scene_picture.h"
#include "host/scene/scene_poses.h"

namespace plof::host {
namespace {

const Box kUnitBox{{-1, -1, -1}, {1, 1, 1}};

// 100 x 100 pixels, a 6-pixel margin: 44 pixels per unit, the origin at 49.5.
TEST(PictureTest, OrthographicViewsLookAlongTheirAxes) {
    struct Case {
        View view;
        Vec3 world;
    };
    for (const Case &c :
         {Case{View::Front, {0.5, 0.5, 0.9}}, Case{View::Top, {0.5, -0.3, 0.5}}, Case{View::Side, {0.9, 0.5, 0.5}}}) {
        const Camera camera(c.view, kUnitBox, 100, 100);
        double x = 0, y = 0;
        ASSERT_TRUE(camera.project(c.world, x, y));
        EXPECT_NEAR(x, 71.5, 1e-9);
        EXPECT_NEAR(y, 27.5, 1e-9);
    }
    EXPECT_EQ(viewNamed("perspective"), View::Perspective);
    EXPECT_FALSE(viewNamed("Front"));
    // The perspective camera sees the whole box, and nothing behind it.
    const Camera perspective(View::Perspective, kUnitBox, 100, 100);
    for (int corner = 0; corner < 8; ++corner) {
        double x = 0, y = 0;
        ASSERT_TRUE(
            perspective.project({corner & 1 ? 1.0 : -1.0, corner & 2 ? 1.0 : -1.0, corner & 4 ? 1.0 : -1.0}, x, y));
        EXPECT_GE(x, 5.0);
        EXPECT_LE(x, 95.0);
        EXPECT_GE(y, 5.0);
        EXPECT_LE(y, 95.0);
    }
    double x = 0, y = 0;
    EXPECT_FALSE(perspective.project({-1000, 1000, -1000}, x, y));
}

TEST(PictureTest, AFewFarOutliersDoNotStretchTheFrame) {
    FramingSampler framing(2000);
    std::vector<double> positions;
    for (int i = 0; i < 1000; ++i) positions.insert(positions.end(), {i / 1000.0, 2.0 * i / 1000.0, 0.0});
    for (int i = 0; i < 5; ++i) positions.insert(positions.end(), {1e6, -1e6, 1e6});
    framing.addPositions(positions);
    framing.include({0, 0, -3});  // a pivot counts whatever
    const Box box = framing.box();
    EXPECT_LT(box.max[0], 1.5);
    EXPECT_GT(box.min[1], -0.5);
    EXPECT_LT(box.max[1], 2.5);
    EXPECT_LT(box.min[2], -3.0);
    EXPECT_LT(box.max[2], 1.0);
}

MotionKey key(int32_t frame, double x) {
    MotionKey k;
    k.frame = frame;
    k.linear = 1;
    k.values[kX] = x;
    return k;
}

// A null moving from x = -0.5 to 0.5 over frames 0..10, front view: drawn at
// its last place with a trail back to its first, and not at all once it
// dissolves.
TEST(PictureTest, ItemsAreDrawnAtTheirPlacesWithTrailsAndNotWhenDissolved) {
    HostScene scene;
    HostItem spark = makeObjectItem("Spark", "", {});
    spark.isNull = true;
    spark.motion = {key(0, -0.5), key(10, 0.5)};
    scene.items = {spark};
    std::vector<std::optional<EffectSettings>> settings(1);
    const Camera camera(View::Front, kUnitBox, 100, 100);
    auto draw = [&](const HostScene &played) {
        EffectPicture picture(played, settings, 30.0, camera, kUnitBox, 100, 100, 11);
        ScenePoses poses(played, 30.0);
        for (int32_t frame = 0; frame <= 10; ++frame) {
            const Vec3 place = poses.at(0, frame / 30.0).position;
            picture.addFrame(frame, frame / 30.0, [&](std::size_t) { return std::span<const double>(place); });
        }
        return picture.picture();
    };
    auto at = [](const std::vector<uint8_t> &rgb, int x, int y) {
        const std::size_t i = 3 * (static_cast<std::size_t>(y) * 100 + x);
        return std::vector<int>{rgb[i], rgb[i + 1], rgb[i + 2]};
    };
    const std::vector<uint8_t> rgb = draw(scene);
    EXPECT_EQ(at(rgb, 72, 50), (std::vector<int>{158, 209, 255}));  // x = 0.5 -> column 71.5
    const std::vector<int> trail = at(rgb, 40, 50);                 // x = -0.2, on the way
    EXPECT_GT(trail[2], 60);
    EXPECT_LT(trail[2], 255);
    EXPECT_EQ(at(rgb, 72, 20), at(rgb, 40, 20));  // background above

    scene.items[0].hasDissolve = true;
    MotionKey gone;
    gone.values[0] = 1.0;
    scene.items[0].dissolve = {gone};
    const std::vector<uint8_t> dissolved = draw(scene);
    EXPECT_LT(at(dissolved, 72, 50)[2], 140);  // the ground line alone, no light blue dot
    // An item carrying the effect is hidden by its dissolve alike (its pivot
    // stays marked).
    settings[0] = EffectSettings();
    const std::vector<uint8_t> effectDissolved = draw(scene);
    scene.items[0].hasDissolve = false;
    EXPECT_NE(draw(scene), effectDissolved);
}

// Far off the origin a grid step is below a unit in the last place of the
// coordinates: the background is still drawn, once. A jump from one edge of
// the 32-bit pixel range to the other is no trail, and no overflow.
TEST(PictureTest, FarScenesAndHugeJumpsAreDrawn) {
    HostScene scene;
    scene.items = {makeObjectItem("Spark", "", {})};
    scene.items[0].isNull = true;
    const std::vector<std::optional<EffectSettings>> settings(1);
    for (const double far : {1e15, 1e150, -1e150}) {
        const Box box{{far, -1, far}, {far, 1, far}};
        const Camera camera(View::Perspective, box, 64, 48);
        EffectPicture picture(scene, settings, 30.0, camera, box, 64, 48, 5);
        const Vec3 place{far, 0, far};
        picture.addFrame(0, 0.0, [&](std::size_t) { return std::span<const double>(place); });
        EXPECT_EQ(picture.picture().size(), 64u * 48u * 3u) << far;
    }
    const Camera camera(View::Front, kUnitBox, 100, 100);
    EffectPicture picture(scene, settings, 30.0, camera, kUnitBox, 100, 100, 5);
    const Vec3 before{-4.8e7, 0, 0}, after{4.8e7, 0, 0};  // pixels -2.1e9 and 2.1e9
    picture.addFrame(0, 0.0, [&](std::size_t) { return std::span<const double>(before); });
    picture.addFrame(1, 1 / 30.0, [&](std::size_t) { return std::span<const double>(after); });
    const std::vector<uint8_t> rgb = picture.picture();
    EffectPicture still(scene, settings, 30.0, camera, kUnitBox, 100, 100, 5);
    still.addFrame(1, 1 / 30.0, [&](std::size_t) { return std::span<const double>(after); });
    EXPECT_EQ(rgb, still.picture());  // nothing of the jump is drawn
}

}  // namespace
}  // namespace plof::host
