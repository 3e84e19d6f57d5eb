// The host's poses in glTF's axes: a node's matrix built from the exported
// translation, quaternion and scale places every point where the host puts
// it (mirrored in Z), for turns on every axis including half turns; and the
// default marker size ignores a few far-flung points.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "host/gltf/gltf_transform.h"
#include "host/gltf/marker_size.h"

namespace plof::host {
namespace {

// A point of the node placed by glTF's T·R·S with R from the quaternion.
Vec3 gltfPlace(const GltfTransform &transform, const Vec3 &local) {
    const double x = static_cast<double>(transform.rotation[0]), y = static_cast<double>(transform.rotation[1]),
                 z = static_cast<double>(transform.rotation[2]), w = static_cast<double>(transform.rotation[3]);
    const double r[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)},
                            {2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)},
                            {2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)}};
    Vec3 placed{};
    for (int row = 0; row < 3; ++row) {
        placed[row] = static_cast<double>(transform.translation[row]);
        for (int column = 0; column < 3; ++column) {
            placed[row] += r[row][column] * static_cast<double>(transform.scale[column]) * local[column];
        }
    }
    return placed;
}

Vec3 mirror(const Vec3 &v) { return {v[0], v[1], -v[2]}; }

TEST(GltfTransform, NodeMatrixPlacesPointsWhereTheHostDoes) {
    const double angles[] = {0, 30, 90, 180, -135, 270};
    const Vec3 locals[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0.3, -2, 1.5}};
    for (const double heading : angles) {
        for (const double pitch : angles) {
            for (const double bank : angles) {
                ItemPose pose;
                pose.axes = axesFromHpb(heading, pitch, bank);
                pose.position = {1.5, -2, 3.25};
                pose.scale = {2, 0.5, 1.25};
                const GltfTransform transform = gltfTransform(pose);
                for (const Vec3 &local : locals) {
                    // The host's point p of the item is glTF's mirror(p) of the node.
                    const Vec3 host = mirror(toWorld(pose, local));
                    const Vec3 gltf = gltfPlace(transform, mirror(local));
                    for (int i = 0; i < 3; ++i) {
                        EXPECT_NEAR(gltf[i], host[i], 2e-6) << heading << " " << pitch << " " << bank << " axis " << i;
                    }
                }
            }
        }
    }
}

TEST(GltfTransform, HeadingNinetyTurnsAboutYTheOtherWayInGltfAxes) {
    // The host's heading 90 turns X to (0, 0, -1); mirrored, X goes to (0, 0, 1):
    // a turn of -90 degrees about +Y, quaternion (0, -sin 45, 0, cos 45).
    ItemPose pose;
    pose.axes = axesFromHpb(90, 0, 0);
    const GltfTransform transform = gltfTransform(pose);
    EXPECT_NEAR(transform.rotation[0], 0.0, 1e-7);
    EXPECT_NEAR(transform.rotation[1], -std::sqrt(0.5), 1e-7);
    EXPECT_NEAR(transform.rotation[2], 0.0, 1e-7);
    EXPECT_NEAR(transform.rotation[3], std::sqrt(0.5), 1e-7);
}

TEST(GltfTransform, PointsAreThePlayedDoublesRoundedOnceWithZNegated) {
    const std::array<float, 3> point = gltfPoint({0.1, -1e-40, 16777217.0});
    EXPECT_EQ(point[0], 0.1F);
    EXPECT_EQ(point[1], static_cast<float>(-1e-40));
    EXPECT_EQ(point[2], -16777216.0F);  // rounded to even once, then negated
}

TEST(MarkerSize, IsAHundredthOfTheExtentIgnoringAFewOutliers) {
    std::vector<float> points;
    for (int i = 0; i <= 1000; ++i) {
        const float t = static_cast<float>(i) / 1000.0F;
        points.insert(points.end(), {t * 4.0F, t * 3.0F, 0.0F});  // a 4 x 3 box: diagonal 5
    }
    EXPECT_NEAR(defaultMarkerSize(points), 0.05F * 0.96F, 0.002F);
    for (int i = 0; i < 10; ++i) points.insert(points.end(), {1e6F, -1e6F, 1e6F});
    EXPECT_NEAR(defaultMarkerSize(points), 0.05F * 0.96F, 0.002F);
    EXPECT_EQ(defaultMarkerSize(std::vector<float>(30, 2.0F)), 0.1F);
    EXPECT_EQ(defaultMarkerSize({}), 0.1F);
}

}  // namespace
}  // namespace plof::host
