#pragma once

#include "Pose.h"

namespace mediagen {

// Body proportions in metres, for an adult of about 1.75 m.
namespace bone {
inline constexpr double lowSpine = 0.24;
inline constexpr double upSpine = 0.27;
inline constexpr double neck = 0.09;
inline constexpr double headRadius = 0.105;
inline constexpr double shoulderHalf = 0.18;
inline constexpr double hipHalf = 0.09;
inline constexpr double upperArm = 0.29;
inline constexpr double forearm = 0.26;
inline constexpr double palm = 0.09;
inline constexpr double finger = 0.085;
inline constexpr double thigh = 0.44;
inline constexpr double shin = 0.43;
inline constexpr double foot = 0.2;
inline constexpr double ankleHeight = 0.08;
inline constexpr double seatHeight = 0.46;
// Hands are drawn a little large so they read at video size; poses that put fingertips
// somewhere use the drawn length.
inline constexpr double handDraw = 1.25;
inline constexpr double handReach = (palm + finger) * handDraw;
} // namespace bone

struct Hand {
    Vec3 wrist;
    Vec3 fingers; // unit, along the straight fingers
    Vec3 palm;    // unit, out of the palm
    Vec3 thumb;   // unit, across the palm towards the thumb
    HandShape shape;
};

// Joint positions in world space for one moment.
struct Body {
    bool seated = true;
    Vec3 pelvis, spineMid, neck, headCentre;
    Mat3 chest, head;
    std::array<Vec3, 2> shoulder, elbow, wrist, hip, knee, ankle, toe;
    std::array<Hand, 2> hand;
    // How far each wrist and ankle fell short of where the pose asked it to be.
    std::array<double, 2> armShort{}, legShort{};

    Vec3 face() const { return head * Vec3{0, 0, 1}; }
    Vec3 headUp() const { return head * Vec3{0, 1, 0}; }
};

Body solve(const Clip &clip, double t);
Body solve(const Pose &pose);

} // namespace mediagen
