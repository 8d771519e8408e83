#include "Exercises.h"

#include "Skeleton.h"

#include <functional>
#include <utility>

namespace mediagen {
namespace {

// Arm positions are written in the figure's own terms: x grows outwards from the midline,
// so one entry serves the left or the right arm.

ArmPose hanging() { return {}; }

ArmPose inLap() {
    ArmPose a;
    a.space = Space::World;
    a.wrist = {0.09, 0.64, 0.22};
    a.elbow = {0.5, 0, -1};
    a.fingers = {-0.25, -0.35, 1};
    a.palm = {0, -1, 0};
    return a;
}

ArmPose outToSide() {
    ArmPose a;
    a.wrist = {0.55, 0.0, 0.02};
    a.elbow = {0, -0.4, -1};
    a.fingers = {1, 0, 0};
    a.palm = {0, -1, 0};
    a.hand.curl = 0.1;
    return a;
}

ArmPose straightAhead() {
    ArmPose a;
    a.wrist = {-0.03, -0.02, 0.54};
    a.elbow = {0.3, -1, 0};
    a.fingers = {0, 0, 1};
    a.palm = {0, -1, 0};
    a.hand.curl = 0.1;
    return a;
}

// Wrist placed so the straight fingertips end at `tip`.
ArmPose tipsAt(Space space, Vec3 tip, Vec3 fingers, Vec3 palm, Vec3 elbow) {
    ArmPose a;
    a.space = space;
    a.fingers = fingers;
    a.wrist = tip - normalized(fingers) * bone::handReach;
    a.palm = palm;
    a.elbow = elbow;
    a.hand = {0.0, 0.0, 0.0};
    return a;
}

Pose seated() {
    Pose p;
    p.arm = {inLap(), inLap()};
    return p;
}

Pose standing() {
    Pose p;
    p.seated = false;
    p.pelvis = {0, 0.9495, 0}; // legs all but straight
    p.ankle = {{{0.11, 0.08, 0.0}, {-0.11, 0.08, 0.0}}};
    p.arm = {hanging(), hanging()};
    return p;
}

Pose with(Pose p, const std::function<void(Pose &)> &change) {
    change(p);
    return p;
}

// The same pose done with the other side of the body.
Pose mirrored(Pose p) {
    std::swap(p.arm[Left], p.arm[Right]);
    p.ankle = {{{-p.ankle[Right].x, p.ankle[Right].y, p.ankle[Right].z},
                {-p.ankle[Left].x, p.ankle[Left].y, p.ankle[Left].z}}};
    p.lowTilt = -p.lowTilt;
    p.upTilt = -p.upTilt;
    p.lowTwist = -p.lowTwist;
    p.upTwist = -p.upTwist;
    p.headTurn = -p.headTurn;
    p.headTilt = -p.headTilt;
    p.pelvis.x = -p.pelvis.x;
    return p;
}

// Appends a run of keys shifted in time, optionally done with the other side.
void append(std::vector<Keyframe> &keys, const std::vector<Keyframe> &run, double offset,
            bool otherSide) {
    for (Keyframe k : run) {
        k.time += offset;
        if (otherSide)
            k.pose = mirrored(k.pose);
        keys.push_back(std::move(k));
    }
}

constexpr Key Pass = Key::Pass;
constexpr Key Stop = Key::Stop;

// --- Reach for the Sky: one arm out to the side, up and over the head, fingers spread; down;
// the other side.
Clip reachForTheSky() {
    const Pose rest = seated();
    const Pose side = with(rest, [](Pose &p) { p.arm[Right] = outToSide(); });
    const Pose rising = with(rest, [](Pose &p) {
        p.arm[Right] = outToSide();
        p.arm[Right].wrist = {0.36, 0.4, 0.02};
        p.arm[Right].fingers = {0.55, 0.85, 0};
        p.arm[Right].palm = {-0.6, -0.3, 0.2};
        p.lowTilt = -2;
    });
    const Pose over = with(rest, [](Pose &p) {
        p.arm[Right].space = Space::Shoulder;
        p.arm[Right].wrist = {-0.12, 0.51, 0.05};
        p.arm[Right].elbow = {1, 0.3, -0.2};
        p.arm[Right].fingers = {-0.6, 0.8, 0};
        p.arm[Right].palm = {-0.25, -0.3, 0.9};
        p.arm[Right].hand = {0.0, 1.0, 0.0};
        p.lowTilt = -6;
        p.upTilt = -12;
        p.headTilt = -6;
    });
    const std::vector<Keyframe> run{
        {1.0, rest}, {3.0, side},          {3.6, side, Pass},  {5.0, rising, Pass}, {6.4, over},
        {9.0, over}, {10.2, rising, Pass}, {11.0, side, Pass}, {12.0, rest},
    };
    Clip c{"Stretch01.mpg", {12, 6}, true, 0.28, {{0, rest}}, {}};
    append(c.keys, run, 0, false);
    append(c.keys, run, 11.4, true);
    c.keys.push_back({24.0, rest});
    return c;
}

// --- Shoulder Shrug: up, back, down, several times, arms loose.
Clip shoulderShrug() {
    const Pose rest = standing();
    const Pose up = with(rest, [](Pose &p) { p.shoulderLift = 0.08; });
    const Pose upBack = with(rest, [](Pose &p) {
        p.shoulderLift = 0.07;
        p.shoulderBack = 0.06;
        p.upLean = -3;
    });
    const Pose downBack = with(rest, [](Pose &p) {
        p.shoulderLift = 0.0;
        p.shoulderBack = 0.045;
        p.upLean = -2;
    });
    Clip c{"Stretch03.mpg", {65, 6}, false, 0.62, {{0, rest}}, {}};
    for (int i = 0; i < 5; ++i) {
        const double s = 0.8 + i * 4.6;
        append(c.keys,
               {{s, rest},
                {s + 1.3, up},
                {s + 2.1, upBack, Pass},
                {s + 3.0, downBack, Pass},
                {s + 3.9, rest}},
               0, false);
    }
    c.keys.push_back({24.0, rest});
    return c;
}

// --- Finger Stretch: fingertips together, hands from chin down to chest, fingers turn in.
Clip fingerStretch() {
    const Pose rest = seated();
    const auto tips = [](Vec3 at, Vec3 fingers, Vec3 palm) {
        return [=](Pose &p) {
            for (Side s : {Left, Right}) {
                p.arm[s] = tipsAt(Space::Chest, at, fingers, palm, {1, -0.6, -0.2});
                p.arm[s].hand.spread = 0.7;
            }
        };
    };
    const Pose chin = with(rest, tips({0, 0.1, 0.24}, {-0.55, 0.8, 0.1}, {-0.8, -0.5, 0}));
    const Pose chest = with(rest, tips({0, -0.13, 0.26}, {-0.55, 0.8, 0.1}, {-0.8, -0.5, 0}));
    const Pose turned = with(rest, tips({0, -0.13, 0.22}, {-0.5, 0.15, -0.85}, {-0.8, 0, 0.5}));
    Clip c{"Stretch05.mpg", {20, 10}, true, 0.45, {}, {}};
    c.keys = {{0, rest},     {2.0, chin},    {3.0, chin},    {6.0, chest},   {6.6, chest},
              {8.6, turned}, {11.0, turned}, {12.6, chest},  {14.6, chin},   {15.2, chin},
              {17.6, chest}, {18.0, chest},  {19.6, turned}, {21.6, turned}, {24.0, rest}};
    return c;
}

// --- Palm Press: palms together, from chin level down to chest level.
Clip palmPress() {
    const Pose rest = seated();
    const auto press = [](double y) {
        return [=](Pose &p) {
            for (Side s : {Left, Right}) {
                p.arm[s] = tipsAt(Space::Chest, {0.022, y, 0.27}, {0, 1, 0.05}, {-1, 0, 0},
                                  {1, -0.4, -0.2});
            }
        };
    };
    const Pose chin = with(rest, press(0.12));
    const Pose chest = with(rest, press(-0.12));
    Clip c{"Stretch06.mpg", {35, 8}, true, 0.45, {}, {}};
    c.keys = {{0, rest},    {2.0, chin},  {3.0, chin},   {6.0, chest},  {8.5, chest},
              {10.5, chin}, {11.5, chin}, {14.5, chest}, {17.0, chest}, {19.0, chin},
              {19.6, chin}, {22.4, rest}, {23.5, rest}};
    return c;
}

// --- Wingspread: hands clasped behind the head, elbows go back and hold.
Clip wingspread() {
    const Pose rest = seated();
    const auto behindHead = [](Vec3 elbow) {
        return [=](Pose &p) {
            for (Side s : {Left, Right}) {
                ArmPose &a = p.arm[s];
                a.space = Space::Chest;
                a.wrist = {0.065, 0.21, -0.13};
                a.elbow = elbow;
                a.fingers = {-1, 0.15, 0.1};
                a.palm = {0, 0, 1};
                a.hand.curl = 0.45;
            }
        };
    };
    const Pose raising = with(rest, [](Pose &p) {
        for (Side s : {Left, Right}) {
            p.arm[s] = outToSide();
            p.arm[s].wrist = {0.33, 0.25, 0.05};
            p.arm[s].elbow = {1, -0.3, 0};
            p.arm[s].fingers = {-0.2, 1, 0};
        }
    });
    const Pose forward = with(rest, behindHead({0.35, 0, 1}));
    const Pose back = with(rest, behindHead({1, 0.1, -0.75}));
    const Pose open = with(back, [](Pose &p) {
        p.shoulderBack = 0.035;
        p.upLean = -5;
    });
    Clip c{"Stretch07.mpg", {62, 10}, true, 0.3, {}, {{5.2, 9.0, 3}, {13.7, 17.5, 3}}};
    c.keys = {
        {0, rest},       {1.6, raising, Pass}, {2.8, forward},        {3.4, forward}, {5.2, open},
        {9.0, open},     {10.6, forward},      {11.8, forward},       {13.7, open},   {17.5, open},
        {19.0, forward}, {20.0, forward},      {21.4, raising, Pass}, {23.0, rest},   {24.0, rest}};
    return c;
}

// An arm held out ahead for the other hand to work on. The elbow gives a little sideways,
// which a viewer from the side reads as straight, and the chest turns towards the arm so the
// other hand can reach in front of it.
void workOn(Pose &p, Side s) {
    ArmPose &a = p.arm[s];
    a.space = Space::Shoulder;
    a.wrist = {-0.08, -0.03, 0.47};
    a.elbow = {0.8, -0.4, 0};
    p.upTwist = s == Right ? 16 : -16;
    p.shoulderBack = -0.03;
}

// Pressing hand laid across the other hand's fingers, palm on them.
ArmPose onFingers(double along, double push) {
    ArmPose a;
    a.space = Space::OtherHand;
    a.wrist = {0.06, along, push};
    a.fingers = {-1, 0.1, 0};
    a.palm = {0, 0, -1};
    a.elbow = {0.4, -1, -0.2};
    a.hand.curl = 0.25;
    return a;
}

// --- Inverted Wrist Flexor Stretch: elbow bent, fingers up, the other hand on the fingers
// while the arm straightens forward; then the other side.
Clip invertedWristFlexor() {
    const Pose rest = seated();
    const Pose bent = with(rest, [](Pose &p) {
        ArmPose &a = p.arm[Right];
        a.space = Space::Shoulder;
        a.wrist = {0.0, 0.02, 0.24};
        a.elbow = {0.1, -1, 0.1};
        a.fingers = {0, 1, -0.05};
        a.palm = {0, 0, 1};
        a.hand = {0.0, 0.0, 0.0};
    });
    const Pose held = with(bent, [](Pose &p) { p.arm[Left] = onFingers(0.11, 0.045); });
    const Pose straight = with(held, [](Pose &p) {
        ArmPose &a = p.arm[Right];
        workOn(p, Right);
        a.fingers = {0, 0.85, -0.5};
        a.palm = {0, 0.5, 0.85};
    });
    const std::vector<Keyframe> run{{0.8, rest},     {2.6, bent},  {3.6, held}, {6.4, straight},
                                    {9.4, straight}, {10.6, held}, {11.6, rest}};
    Clip c{"Stretch09.mpg", {80, 8}, true, 0.45, {{0, rest}}, {}};
    append(c.keys, run, 0, false);
    append(c.keys, run, 11.4, true);
    c.keys.push_back({24.0, rest});
    return c;
}

// --- Wrist Extensor: arm straight ahead, fingers to the floor, the other hand presses the
// knuckles a little further.
Clip wristExtensor() {
    const Pose rest = seated();
    const Pose ahead = with(rest, [](Pose &p) {
        p.arm[Right] = straightAhead();
        workOn(p, Right);
    });
    const Pose down = with(ahead, [](Pose &p) {
        p.arm[Right].fingers = {0, -1, 0.25};
        p.arm[Right].palm = {0, 0.25, -1};
        p.arm[Right].hand.curl = 0.05;
    });
    const auto knuckles = [](double push, Vec3 fingers) {
        return [=](Pose &p) {
            ArmPose a;
            a.space = Space::OtherHand;
            a.wrist = {0.05, 0.05, -0.045 - push};
            a.fingers = {-1, 0.1, 0};
            a.palm = {0, 0, 1};
            a.elbow = {0.4, -1, -0.2};
            a.hand.curl = 0.2;
            p.arm[Left] = a;
            p.arm[Right].fingers = fingers;
            p.arm[Right].palm = {0, -fingers.z, fingers.y};
        };
    };
    const Pose touch = with(down, knuckles(0.0, {0, -1, 0.25}));
    const Pose press = with(down, knuckles(0.0, {0, -0.9, -0.35}));
    Clip c{"Stretch11.mpg", {80, 8}, true, 0.45, {}, {}};
    c.keys = {{0, rest},     {2.4, ahead},  {3.0, ahead},  {4.6, down},
              {6.0, touch},  {7.6, press},  {10.6, press}, {11.8, touch},
              {12.6, touch}, {14.2, press}, {17.4, press}, {18.6, touch},
              {19.6, down},  {21.0, ahead}, {23.0, rest},  {24.0, rest}};
    return c;
}

// --- Hands Over Eyes: hands up, palms over the eyes for a count of five, back up.
Clip handsOverEyes() {
    const Pose rest = seated();
    const Pose up = with(rest, [](Pose &p) {
        for (Side s : {Left, Right}) {
            ArmPose &a = p.arm[s];
            a.space = Space::Shoulder;
            a.wrist = {0.04, 0.2, 0.16};
            a.elbow = {0.5, -1, 0};
            a.fingers = {0, 1, 0.1};
            a.palm = {0, 0, 1};
            a.hand = {0.05, 0.3, 0.0};
        }
    });
    const Pose cover = with(rest, [](Pose &p) {
        for (Side s : {Left, Right}) {
            ArmPose &a = p.arm[s];
            a.space = Space::Head;
            a.wrist = {0.075, -0.06, 0.135};
            a.elbow = {0.6, -1, 0};
            a.fingers = {-0.3, 0.95, 0};
            a.palm = {0, 0, -1};
            a.hand = {0.1, 0.1, 0.0};
        }
        p.headNod = 6;
    });
    Clip c{"Stretch12.mpg", {10, 5}, true, 0.45, {}, {{4.0, 9.0, 5}, {13.6, 18.6, 5}}};
    c.keys = {{0, rest},  {1.8, up},    {2.6, up},     {4.0, cover},  {9.0, cover},
              {10.6, up}, {12.2, up},   {13.6, cover}, {18.6, cover}, {20.2, up},
              {21.4, up}, {23.2, rest}, {24.0, rest}};
    return c;
}

// --- Hands Overhead: fingers interlocked above the head, lean one way, then the other.
Clip handsOverhead() {
    const Pose rest = seated();
    const Pose front = with(rest, [](Pose &p) {
        for (Side s : {Left, Right}) {
            ArmPose &a = p.arm[s];
            a.space = Space::Chest;
            a.wrist = {0.05, -0.2, 0.3};
            a.elbow = {1, -0.6, -0.2};
            a.fingers = {-1, 0.3, 0.1};
            a.palm = {0, 0.3, -1};
            a.hand.curl = 0.5;
        }
    });
    const Pose rising = with(front, [](Pose &p) {
        for (Side s : {Left, Right}) {
            p.arm[s].wrist = {0.05, 0.35, 0.35};
            p.arm[s].palm = {0, 0.8, 0.6};
        }
    });
    const Pose over = with(front, [](Pose &p) {
        for (Side s : {Left, Right}) {
            ArmPose &a = p.arm[s];
            a.wrist = {0.055, 0.47, 0.04};
            a.elbow = {1, 0, 0};
            a.fingers = {-1, 0.1, 0};
            a.palm = {0, 1, 0};
        }
    });
    const Pose lean = with(over, [](Pose &p) {
        p.lowTilt = 9;
        p.upTilt = 13;
        p.headTilt = 4;
    });
    Clip c{"Stretch14.mpg", {8, 6}, true, 0.28, {}, {}};
    c.keys = {{0, rest},
              {1.8, front},
              {2.4, front},
              {3.4, rising, Pass},
              {4.6, over},
              {5.4, over},
              {8.0, lean},
              {10.0, lean},
              {12.0, over},
              {12.4, over},
              {15.0, mirrored(lean)},
              {17.0, mirrored(lean)},
              {19.0, over},
              {19.6, over},
              {20.8, rising, Pass},
              {22.0, front},
              {23.2, rest},
              {24.0, rest}};
    return c;
}

// --- Chin Tuck: sit up, finger on the chin, head slides straight back so the chin tucks.
Clip chinTuck() {
    const Pose slouch = with(seated(), [](Pose &p) {
        p.lowLean = 10;
        p.upLean = 14;
        p.headNod = -18;
        p.headBack = -0.03;
    });
    const Pose upright = seated();
    const Pose exhale = with(upright, [](Pose &p) {
        p.shoulderLift = -0.012;
        p.upLean = 2;
    });
    const Pose finger = with(exhale, [](Pose &p) {
        ArmPose &a = p.arm[Right];
        a = tipsAt(Space::Head, {0, -0.085, 0.09}, {0.05, 0.75, -0.45}, {-1, 0, 0}, {0.3, -1, 0});
        a.hand = {1.0, 0.0, 1.0};
    });
    const Pose tucked = with(finger, [](Pose &p) {
        p.headBack = 0.05;
        p.headNod = 5;
    });
    Clip c{"Stretch17.mpg", {90, 2}, true, 0.45, {}, {}};
    c.keys = {{0, slouch},    {0.8, slouch},  {2.8, upright}, {3.6, upright}, {5.0, exhale},
              {6.8, finger},  {7.4, finger},  {9.0, tucked},  {11.0, tucked}, {12.4, finger},
              {13.2, finger}, {14.8, tucked}, {16.8, tucked}, {18.2, finger}, {18.8, finger},
              {20.4, tucked}, {21.6, tucked}, {22.6, finger}, {24.0, slouch}};
    return c;
}

// --- Arms Overhead: arms up, palms together, reach a little higher, back down.
Clip armsOverhead() {
    const Pose rest = seated();
    const Pose side = with(rest, [](Pose &p) {
        for (Side s : {Left, Right}) {
            p.arm[s] = outToSide();
            p.arm[s].wrist = {0.5, 0.2, 0.05};
            p.arm[s].fingers = {0.8, 0.5, 0};
        }
    });
    const auto overhead = [](double lift) {
        return [=](Pose &p) {
            for (Side s : {Left, Right}) {
                ArmPose &a = p.arm[s];
                a.space = Space::Chest;
                a.wrist = {0.022, 0.45 + lift, 0.04};
                a.elbow = {1, 0, -0.2};
                a.fingers = {0, 1, 0};
                a.palm = {-1, 0, 0};
                a.hand = {0.0, 0.0, 0.0};
            }
            p.shoulderLift = lift * 0.7;
            p.upLean = -lift * 60;
        };
    };
    const Pose up = with(rest, overhead(0.0));
    const Pose reach = with(rest, overhead(0.06));
    const std::vector<Keyframe> run{{0.6, rest}, {2.2, side, Pass},  {3.6, up},
                                    {4.2, up},   {5.8, reach},       {8.0, reach},
                                    {9.2, up},   {10.4, side, Pass}, {11.8, rest}};
    Clip c{"Stretch18.mpg", {10, 6}, true, 0.28, {{0, rest}}, {}};
    append(c.keys, run, 0, false);
    append(c.keys, run, 11.8, false);
    c.keys.push_back({24.0, rest});
    return c;
}

// --- Hands to Floor: to the front of the seat, bend down and touch the floor, round the
// mid-back on a breath in, sit back up.
Clip handsToFloor() {
    const Pose rest = seated();
    const Pose front = with(rest, [](Pose &p) {
        p.pelvis = {0, 0.52, 0.13};
        p.ankle = {{{0.14, 0.08, 0.52}, {-0.14, 0.08, 0.52}}};
        for (Side s : {Left, Right})
            p.arm[s].wrist = {0.09, 0.64, 0.35};
    });
    const Pose halfway = with(front, [](Pose &p) {
        p.lowLean = 30;
        p.upLean = 20;
        p.headNod = 10;
        for (Side s : {Left, Right}) {
            p.arm[s] = hanging();
            p.arm[s].wrist = {0.02, -0.5, 0.12};
        }
    });
    const Pose floor = with(front, [](Pose &p) {
        p.lowLean = 58;
        p.upLean = 42;
        p.headNod = 20;
        for (Side s : {Left, Right}) {
            ArmPose &a = p.arm[s];
            a.space = Space::World;
            a.wrist = {0.16, 0.24, 0.66};
            a.elbow = {0.5, 0, -1};
            a.fingers = {0, -1, 0.2};
            a.palm = {-0.2, 0, -1};
            a.hand.curl = 0.1;
        }
    });
    const Pose arch = with(floor, [](Pose &p) {
        p.lowLean = 50;
        p.upLean = 58;
        p.headNod = 32;
        p.shoulderLift = 0.02;
    });
    Clip c{"Stretch19.mpg", {80, 4}, true, 0, {}, {}};
    c.keys = {
        {0, rest},     {1.0, rest},           {2.6, front},  {3.2, front},  {4.6, halfway, Pass},
        {6.0, floor},  {7.4, floor},          {9.4, arch},   {11.8, arch},  {13.4, floor},
        {14.2, floor}, {15.8, halfway, Pass}, {17.6, front}, {18.4, front}, {20.4, rest},
        {24.0, rest}};
    return c;
}

// --- Elbow & Finger Extension: fists at the sides with elbows bent, arms straighten forward
// as the fingers spread and the wrists bend back; several times.
Clip elbowFingerExtension() {
    const Pose rest = seated();
    const Pose bent = with(rest, [](Pose &p) {
        for (Side s : {Left, Right}) {
            ArmPose &a = p.arm[s];
            a.space = Space::Shoulder;
            a.wrist = {0.02, -0.28, 0.26};
            a.elbow = {0.1, -0.3, -1};
            a.fingers = {0, 0, 1};
            a.palm = {-1, 0, 0};
            a.hand = {1.0, 0.0, 0.0};
        }
    });
    const Pose open = with(rest, [](Pose &p) {
        for (Side s : {Left, Right}) {
            ArmPose &a = p.arm[s];
            a = straightAhead();
            a.wrist = {0.0, -0.02, 0.54};
            a.fingers = {0, 1, -0.25};
            a.palm = {0, 0.25, 1};
            a.hand = {0.0, 1.0, 0.0};
        }
    });
    Clip c{"Stretch20.mpg", {45, 8}, true, 0.45, {{0, rest}, {1.8, bent}}, {}};
    for (int i = 0; i < 3; ++i) {
        const double s = 2.4 + i * 6.2;
        append(c.keys, {{s, bent}, {s + 2.2, open}, {s + 3.4, open}, {s + 5.4, bent}}, 0, false);
    }
    c.keys.push_back({22.4, rest});
    c.keys.push_back({24.0, rest});
    return c;
}

// --- Mid Back Stretch: both arms ahead, one hand draws the other wrist further out, back
// rounds a little, a deep breath.
Clip midBackStretch() {
    const Pose rest = seated();
    const Pose ahead = with(rest, [](Pose &p) {
        p.arm[Right] = straightAhead();
        p.arm[Right].wrist = {-0.08, -0.04, 0.52};
        p.arm[Left] = straightAhead();
        p.arm[Left].wrist = {-0.1, 0.0, 0.46};
    });
    const auto grip = [](ArmPose &a) {
        a.space = Space::OtherHand;
        a.wrist = {0.08, -0.03, -0.05};
        a.fingers = {-1, 0.2, 0};
        a.palm = {0, 0, 1};
        a.elbow = {0.4, -1, 0};
        a.hand.curl = 0.55;
    };
    const Pose held = with(ahead, [&](Pose &p) { grip(p.arm[Left]); });
    const Pose pulled = with(held, [](Pose &p) {
        p.arm[Right].wrist = {-0.1, -0.02, 0.53};
        p.shoulderBack = -0.06;
        p.upLean = 14;
        p.lowLean = -3;
        p.headNod = 8;
    });
    const Pose breathIn = with(pulled, [](Pose &p) {
        p.shoulderLift = 0.025;
        p.upLean = 10;
    });
    Clip c{"Stretch21.mpg", {60, 6}, true, 0.3, {}, {}};
    c.keys = {{0, rest},     {2.2, ahead},    {2.6, ahead},     {3.6, held},
              {6.0, pulled}, {8.0, breathIn}, {10.0, pulled},   {11.6, held},
              {12.4, held},  {14.6, pulled},  {16.6, breathIn}, {18.6, pulled},
              {20.0, held},  {20.6, ahead},   {22.6, rest},     {24.0, rest}};
    return c;
}

// --- Wrist Flexor Stretch: arm straight ahead, palm out, fingers up; the other hand draws the
// fingers back towards the body; then the other side.
Clip wristFlexor() {
    const Pose rest = seated();
    const Pose ahead = with(rest, [](Pose &p) {
        p.arm[Right] = straightAhead();
        workOn(p, Right);
    });
    const Pose palmOut = with(ahead, [](Pose &p) {
        p.arm[Right].fingers = {0, 1, -0.05};
        p.arm[Right].palm = {0, 0.05, 1};
        p.arm[Right].hand = {0.0, 0.0, 0.0};
    });
    const Pose held = with(palmOut, [](Pose &p) { p.arm[Left] = onFingers(0.11, 0.045); });
    const Pose pulled = with(held, [](Pose &p) {
        p.arm[Right].fingers = {0, 0.75, -0.65};
        p.arm[Right].palm = {0, 0.65, 0.75};
    });
    const std::vector<Keyframe> run{{0.6, rest},   {2.4, ahead},  {3.6, palmOut}, {4.8, held},
                                    {6.4, pulled}, {9.6, pulled}, {10.6, held},   {11.8, rest}};
    Clip c{"Stretch25.mpg", {80, 8}, true, 0.45, {{0, rest}}, {}};
    append(c.keys, run, 0, false);
    append(c.keys, run, 11.6, true);
    c.keys.push_back({24.0, rest});
    return c;
}

// --- Trunk Twist: left hand on the right leg, turn to the right looking over the shoulder,
// back to the centre, then the other way.
Clip trunkTwist() {
    const Pose rest = seated();
    const Pose hands = with(rest, [](Pose &p) {
        ArmPose &l = p.arm[Left];
        l.space = Space::World;
        l.wrist = {-0.06, 0.63, 0.36};
        l.elbow = {0.2, -0.6, -1};
        l.fingers = {-0.3, -0.4, 1};
        l.palm = {0, -1, 0};
        ArmPose &r = p.arm[Right];
        r.space = Space::World;
        r.wrist = {0.26, 0.6, -0.05};
        r.elbow = {0.3, 0, -1};
        r.fingers = {0, -1, 0.1};
        r.palm = {-1, 0, 0};
    });
    const Pose twist = with(hands, [](Pose &p) {
        p.lowTwist = 16;
        p.upTwist = 34;
        p.headTurn = 45;
    });
    const std::vector<Keyframe> run{{0.6, rest},  {2.2, hands},  {2.8, hands}, {5.6, twist},
                                    {8.8, twist}, {10.8, hands}, {11.8, rest}};
    Clip c{"Stretch26.mpg", {0, 28}, true, 0.28, {{0, rest}}, {}};
    append(c.keys, run, 0, false);
    append(c.keys, run, 11.6, true);
    c.keys.push_back({24.0, rest});
    return c;
}

// --- Standing Arm Rotation: arms out, palms down; turn the palms up, arch back a little and
// hold.
Clip standingArmRotation() {
    const Pose rest = standing();
    const Pose out = with(rest, [](Pose &p) { p.arm = {outToSide(), outToSide()}; });
    const Pose turning = with(out, [](Pose &p) {
        for (Side s : {Left, Right})
            p.arm[s].palm = {0, 0, 1};
    });
    const Pose up = with(out, [](Pose &p) {
        for (Side s : {Left, Right})
            p.arm[s].palm = {0, 1, 0};
    });
    const Pose arched = with(up, [](Pose &p) {
        p.lowLean = -4;
        p.upLean = -8;
        p.headNod = -8;
        p.shoulderBack = 0.02;
    });
    Clip c{"Stretch28.mpg", {30, 20}, false, 0, {}, {{8.0, 11.4, 3}, {18.0, 21.0, 3}}};
    c.keys = {{0, rest},
              {2.4, out},
              {3.2, out},
              {4.6, turning, Pass},
              {6.0, up},
              {6.6, up},
              {8.0, arched},
              {11.4, arched},
              {12.8, up},
              {13.4, turning, Pass},
              {14.4, out},
              {14.8, out},
              {15.8, turning, Pass},
              {16.8, up},
              {18.0, arched},
              {21.0, arched},
              {22.0, up},
              {23.2, out},
              {24.6, rest}};
    // Finish by lowering the arms; a last rest keeps the loop seamless.
    c.keys.push_back({25.4, rest});
    return c;
}

std::vector<Clip> build() {
    return {reachForTheSky(),       shoulderShrug(),
            fingerStretch(),        palmPress(),
            wingspread(),           invertedWristFlexor(),
            wristExtensor(),        handsOverEyes(),
            handsOverhead(),        chinTuck(),
            armsOverhead(),         handsToFloor(),
            elbowFingerExtension(), midBackStretch(),
            wristFlexor(),          trunkTwist(),
            standingArmRotation()};
}

} // namespace

const std::vector<Clip> &clips() {
    static const std::vector<Clip> all = build();
    return all;
}

std::string_view videoFile(std::string_view catalogueVideo) {
    const auto slash = catalogueVideo.rfind('\\');
    return slash == std::string_view::npos ? catalogueVideo : catalogueVideo.substr(slash + 1);
}

const Clip *clipFor(std::string_view file) {
    for (const Clip &c : clips())
        if (file == c.file)
            return &c;
    return nullptr;
}

} // namespace mediagen
