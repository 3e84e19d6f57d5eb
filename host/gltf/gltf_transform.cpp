#include "host/gltf/gltf_transform.h"

#include <cmath>

namespace plof::host {

namespace {

Vec3 mirrored(const Vec3 &v) { return {v[0], v[1], -v[2]}; }

}  // namespace

std::array<float, 3> gltfPoint(const Vec3 &point) {
    return {static_cast<float>(point[0]), static_cast<float>(point[1]), -static_cast<float>(point[2])};
}

std::array<double, 4> quaternionFromAxes(const Axes &axes) {
    // m[row][column]; the columns are the axes.
    const double m[3][3] = {
        {axes.x[0], axes.y[0], axes.z[0]}, {axes.x[1], axes.y[1], axes.z[1]}, {axes.x[2], axes.y[2], axes.z[2]}};
    const double trace = m[0][0] + m[1][1] + m[2][2];
    std::array<double, 4> q{};
    // Shepperd's method: divide by the largest of the four candidates, so no
    // rotation (not even a half turn) loses precision.
    if (trace > 0.0) {
        const double s = 2.0 * std::sqrt(1.0 + trace);
        q = {(m[2][1] - m[1][2]) / s, (m[0][2] - m[2][0]) / s, (m[1][0] - m[0][1]) / s, 0.25 * s};
    } else if (m[0][0] > m[1][1] && m[0][0] > m[2][2]) {
        const double s = 2.0 * std::sqrt(1.0 + m[0][0] - m[1][1] - m[2][2]);
        q = {0.25 * s, (m[0][1] + m[1][0]) / s, (m[0][2] + m[2][0]) / s, (m[2][1] - m[1][2]) / s};
    } else if (m[1][1] > m[2][2]) {
        const double s = 2.0 * std::sqrt(1.0 + m[1][1] - m[0][0] - m[2][2]);
        q = {(m[0][1] + m[1][0]) / s, 0.25 * s, (m[1][2] + m[2][1]) / s, (m[0][2] - m[2][0]) / s};
    } else {
        const double s = 2.0 * std::sqrt(1.0 + m[2][2] - m[0][0] - m[1][1]);
        q = {(m[0][2] + m[2][0]) / s, (m[1][2] + m[2][1]) / s, 0.25 * s, (m[1][0] - m[0][1]) / s};
    }
    const double length = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    const double sign = q[3] < 0.0 ? -1.0 : 1.0;
    for (double &component : q) component *= sign / length;
    return q;
}

GltfTransform gltfTransform(const ItemPose &pose) {
    GltfTransform transform;
    transform.translation = gltfPoint(pose.position);
    // The columns of M·R·M: each axis mirrored, the Z axis also negated
    // (R·M turns the third column around).
    const Vec3 z = mirrored(pose.axes.z);
    const std::array<double, 4> q =
        quaternionFromAxes(Axes{mirrored(pose.axes.x), mirrored(pose.axes.y), {-z[0], -z[1], -z[2]}});
    for (int i = 0; i < 4; ++i) transform.rotation[i] = static_cast<float>(q[i]);
    for (int i = 0; i < 3; ++i) transform.scale[i] = static_cast<float>(pose.scale[i]);
    return transform;
}

}  // namespace plof::host
