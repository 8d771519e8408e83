#pragma once

#include <array>
#include <cmath>
#include <vector>

namespace mediagen {

struct Vec3 {
    double x = 0, y = 0, z = 0;

    Vec3 operator+(const Vec3 &o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3 &o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator*(double k) const { return {x * k, y * k, z * k}; }
    Vec3 operator-() const { return {-x, -y, -z}; }
};

inline double dot(const Vec3 &a, const Vec3 &b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(const Vec3 &a, const Vec3 &b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(const Vec3 &a) { return std::sqrt(dot(a, a)); }
Vec3 normalized(const Vec3 &a, const Vec3 &fallback = {0, 1, 0});
inline Vec3 lerp(const Vec3 &a, const Vec3 &b, double t) { return a + (b - a) * t; }

// Row-major 3x3 rotation.
struct Mat3 {
    std::array<double, 9> m{1, 0, 0, 0, 1, 0, 0, 0, 1};

    Vec3 operator*(const Vec3 &v) const {
        return {m[0] * v.x + m[1] * v.y + m[2] * v.z, m[3] * v.x + m[4] * v.y + m[5] * v.z,
                m[6] * v.x + m[7] * v.y + m[8] * v.z};
    }
    Mat3 operator*(const Mat3 &o) const;
};

// Angles in degrees. rotX tips +y towards +z, rotY turns +z towards +x, rotZ tips +y towards -x.
Mat3 rotX(double deg);
Mat3 rotY(double deg);
Mat3 rotZ(double deg);

// The body faces +z with +y up, so the figure's own left is +x and its right is -x.
enum Side { Left = 0, Right = 1 };
inline double sideSign(Side s) { return s == Left ? 1.0 : -1.0; }

// Where an arm's target is expressed; mixing spaces between keyframes is fine because both
// ends are resolved against the current body before blending.
enum class Space {
    World,    // floor-fixed: lap, knees, floor
    Chest,    // origin at the base of the neck, turns and leans with the upper back
    Shoulder, // like Chest but follows its own shoulder when it shrugs
    Head,     // origin at the centre of the head, turns with it
    // Relative to the other hand, for one hand pressing or holding the other: x runs along
    // the other hand's thumb, y along its fingers, z out of its palm. Not mirrored.
    OtherHand,
};

struct HandShape {
    double curl = 0.15;  // 0 open .. 1 fist
    double spread = 0.0; // 0 fingers together .. 1 spread wide
    double point = 0.0;  // 1 keeps the index finger straight while the others curl
};

struct ArmPose {
    Space space = Space::Shoulder;
    Vec3 wrist{0, -0.53, 0.03}; // where the wrist goes
    Vec3 elbow{0, -0.2, -1};    // direction the elbow points to (bend plane)
    Vec3 fingers{0, -1, 0.1};   // direction of the straight fingers
    Vec3 palm{0, 0, 0};         // palm normal; zero means "towards the body's midline"
    HandShape hand;
};

struct Pose {
    Vec3 pelvis{0, 0.52, 0};
    bool seated = true;
    std::array<Vec3, 2> ankle{{{0.12, 0.08, 0.46}, {-0.12, 0.08, 0.46}}}; // world
    // Spine in two parts; lean + bends forward, tilt + bends to the figure's right,
    // twist + turns the chest to the figure's right.
    double lowLean = 0, lowTilt = 0, lowTwist = 0;
    double upLean = 0, upTilt = 0, upTwist = 0;
    double shoulderLift = 0, shoulderBack = 0;      // metres, both shoulders together
    double headNod = 0, headTurn = 0, headTilt = 0; // nod + looks down, turn + looks right
    double headBack = 0;                            // metres the head slides straight back
    std::array<ArmPose, 2> arm;
};

// How a keyframe is entered and left: Stop eases to rest, Pass keeps moving through it.
enum class Key { Stop, Pass };

struct Keyframe {
    double time;
    Pose pose;
    Key key = Key::Stop;
};

// A calm pause the video marks with a row of dots filling one by one.
struct Hold {
    double start;
    double end;
    int count;
};

struct Camera {
    double yaw = 15;  // 0 looks at the face, 90 sees the figure's right side facing right
    double pitch = 8; // looking slightly down onto the figure
};

struct Clip {
    const char *file;
    Camera camera;
    bool chair = true;
    double cropBelow = 0; // frame only what is above this height, to come closer to the hands
    std::vector<Keyframe> keys;
    std::vector<Hold> holds;

    double duration() const { return keys.empty() ? 0.0 : keys.back().time; }
};

// The two keyframes around time t and the eased fraction between them.
struct Segment {
    const Pose *from;
    const Pose *to;
    double t;
};
Segment segmentAt(const Clip &clip, double t);

} // namespace mediagen
