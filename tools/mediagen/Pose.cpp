#include "Pose.h"

#include <numbers>

namespace mediagen {

Vec3 normalized(const Vec3 &a, const Vec3 &fallback) {
    const double len = length(a);
    return len < 1e-9 ? fallback : a * (1.0 / len);
}

Mat3 Mat3::operator*(const Mat3 &o) const {
    Mat3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[i * 3 + j] =
                m[i * 3] * o.m[j] + m[i * 3 + 1] * o.m[3 + j] + m[i * 3 + 2] * o.m[6 + j];
    return r;
}

namespace {
double rad(double deg) { return deg * std::numbers::pi / 180.0; }
} // namespace

Mat3 rotX(double deg) {
    const double c = std::cos(rad(deg)), s = std::sin(rad(deg));
    return {{1, 0, 0, 0, c, -s, 0, s, c}};
}

Mat3 rotY(double deg) {
    const double c = std::cos(rad(deg)), s = std::sin(rad(deg));
    return {{c, 0, s, 0, 1, 0, -s, 0, c}};
}

Mat3 rotZ(double deg) {
    const double c = std::cos(rad(deg)), s = std::sin(rad(deg));
    return {{c, -s, 0, s, c, 0, 0, 0, 1}};
}

namespace {

// Cubic with zero speed at a Stop key and unit speed at a Pass key, so a movement that runs
// through several keys does not halt at each of them.
double ease(double u, Key in, Key out) {
    const double v0 = in == Key::Pass ? 1.0 : 0.0;
    const double v1 = out == Key::Pass ? 1.0 : 0.0;
    const double u2 = u * u, u3 = u2 * u;
    return (u3 - 2 * u2 + u) * v0 + (-2 * u3 + 3 * u2) + (u3 - u2) * v1;
}

} // namespace

Segment segmentAt(const Clip &clip, double t) {
    const auto &keys = clip.keys;
    if (t <= keys.front().time)
        return {&keys.front().pose, &keys.front().pose, 0.0};
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
        const Keyframe &a = keys[i];
        const Keyframe &b = keys[i + 1];
        if (t < b.time) {
            const double span = b.time - a.time;
            const double u = span > 0 ? (t - a.time) / span : 1.0;
            return {&a.pose, &b.pose, ease(u, a.key, b.key)};
        }
    }
    return {&keys.back().pose, &keys.back().pose, 0.0};
}

} // namespace mediagen
