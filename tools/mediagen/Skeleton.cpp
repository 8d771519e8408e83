#include "Skeleton.h"

#include <algorithm>

namespace mediagen {
namespace {

double mix(double a, double b, double t) { return a + (b - a) * t; }

// Two-bone reach: elbow placement for a limb from root towards target, bending towards hint.
// Targets out of reach leave the limb straight towards them.
void reach(const Vec3 &root, const Vec3 &target, const Vec3 &hint, double a, double b, Vec3 &mid,
           Vec3 &end) {
    const Vec3 d = target - root;
    const Vec3 dir = normalized(d, {0, -1, 0});
    const double dist = std::clamp(length(d), std::abs(a - b) + 1e-4, a + b - 1e-4);
    const double along = (a * a + dist * dist - b * b) / (2 * dist);
    const double h = std::sqrt(std::max(0.0, a * a - along * along));
    Vec3 pole = hint - dir * dot(hint, dir);
    if (length(pole) < 1e-6)
        pole = normalized(cross(dir, {1, 0, 0}), {0, 0, 1});
    pole = normalized(pole);
    mid = root + dir * along + pole * h;
    end = root + dir * dist;
}

struct Frames {
    Vec3 neck;
    Mat3 chest;
    std::array<Vec3, 2> shoulder;
    Vec3 headCentre;
    Mat3 head;
};

Vec3 place(const Frames &f, Side s, Space space, const Vec3 &p, const Hand *other) {
    switch (space) {
    case Space::OtherHand:
        return other->wrist + other->thumb * p.x + other->fingers * p.y + other->palm * p.z;
    case Space::World:
        return p;
    case Space::Chest:
        return f.neck + f.chest * p;
    case Space::Shoulder:
        return f.shoulder[s] + f.chest * p;
    case Space::Head:
        return f.headCentre + f.head * p;
    }
    return p;
}

Vec3 turn(const Frames &f, Space space, const Vec3 &d, const Hand *other) {
    switch (space) {
    case Space::OtherHand:
        return other->thumb * d.x + other->fingers * d.y + other->palm * d.z;
    case Space::World:
        return d;
    case Space::Chest:
    case Space::Shoulder:
        return f.chest * d;
    case Space::Head:
        return f.head * d;
    }
    return d;
}

// Arm pose in the figure's own terms: x is measured outwards from the midline, so one table
// entry serves either side.
Vec3 mirror(const Vec3 &v, Side s) { return {v.x * sideSign(s), v.y, v.z}; }

struct ResolvedArm {
    Vec3 wrist, elbow, fingers, palm;
};

ResolvedArm resolveArm(const Frames &f, Side s, const ArmPose &a, const Hand *other) {
    const Side m = a.space == Space::OtherHand ? Left : s; // Left leaves x as it is
    ResolvedArm r;
    r.wrist = place(f, s, a.space, mirror(a.wrist, m), other);
    r.elbow =
        turn(f, a.space == Space::OtherHand ? Space::Chest : a.space, mirror(a.elbow, s), other);
    r.fingers = normalized(turn(f, a.space, mirror(a.fingers, m), other));
    Vec3 palm = a.palm;
    if (length(palm) < 1e-9)
        palm = {-1, 0, 0};
    r.palm = turn(f, a.space, mirror(palm, m), other);
    return r;
}

Body build(const Pose &p, const Pose &q, double t) {
    Body b;
    b.seated = p.seated;
    b.pelvis = lerp(p.pelvis, q.pelvis, t);
    const Mat3 low = rotY(-mix(p.lowTwist, q.lowTwist, t)) * rotX(mix(p.lowLean, q.lowLean, t)) *
                     rotZ(mix(p.lowTilt, q.lowTilt, t));
    b.spineMid = b.pelvis + low * Vec3{0, bone::lowSpine, 0};
    b.chest = low * rotY(-mix(p.upTwist, q.upTwist, t)) * rotX(mix(p.upLean, q.upLean, t)) *
              rotZ(mix(p.upTilt, q.upTilt, t));
    b.neck = b.spineMid + b.chest * Vec3{0, bone::upSpine, 0};

    const double lift = mix(p.shoulderLift, q.shoulderLift, t);
    const double back = mix(p.shoulderBack, q.shoulderBack, t);
    for (Side s : {Left, Right})
        b.shoulder[s] =
            b.neck + b.chest * Vec3{sideSign(s) * bone::shoulderHalf, -0.035 + lift, -back};

    b.head = b.chest * rotY(-mix(p.headTurn, q.headTurn, t)) * rotX(mix(p.headNod, q.headNod, t)) *
             rotZ(mix(p.headTilt, q.headTilt, t));
    const Vec3 headBase =
        b.neck + b.chest * Vec3{0, bone::neck, 0.01 - mix(p.headBack, q.headBack, t)};
    b.headCentre = headBase + b.head * Vec3{0, bone::headRadius, 0.0};

    const Frames f{b.neck, b.chest, b.shoulder, b.headCentre, b.head};
    // A hand placed against the other hand is solved after the hand it follows.
    const auto follows = [&](Side s) {
        return p.arm[s].space == Space::OtherHand || q.arm[s].space == Space::OtherHand;
    };
    const Side first = follows(Left) ? Right : Left;
    for (Side s : {first, first == Left ? Right : Left}) {
        const Hand *other = s == first ? nullptr : &b.hand[first];
        const ResolvedArm ra = resolveArm(f, s, p.arm[s], other);
        const ResolvedArm rb = resolveArm(f, s, q.arm[s], other);
        const Vec3 target = lerp(ra.wrist, rb.wrist, t);
        const Vec3 hint = lerp(normalized(ra.elbow), normalized(rb.elbow), t);
        reach(b.shoulder[s], target, hint, bone::upperArm, bone::forearm, b.elbow[s], b.wrist[s]);
        b.armShort[s] = length(target - b.wrist[s]);

        Hand &h = b.hand[s];
        h.wrist = b.wrist[s];
        h.fingers = normalized(lerp(ra.fingers, rb.fingers, t), ra.fingers);
        // Keep the palm square to the fingers so the hand never shears.
        Vec3 palm = lerp(normalized(ra.palm), normalized(rb.palm), t);
        palm = palm - h.fingers * dot(palm, h.fingers);
        h.palm = normalized(palm, normalized(cross(h.fingers, {0, 1, 0}), {0, 0, 1}));
        // Right hand: thumb = fingers x palm; the left hand is its mirror image.
        h.thumb = cross(h.fingers, h.palm) * (s == Right ? 1.0 : -1.0);
        const HandShape &ha = p.arm[s].hand, &hb = q.arm[s].hand;
        h.shape = {mix(ha.curl, hb.curl, t), mix(ha.spread, hb.spread, t),
                   mix(ha.point, hb.point, t)};
    }

    const Mat3 hips = rotY(-mix(p.lowTwist, q.lowTwist, t) * 0.25);
    for (Side s : {Left, Right}) {
        b.hip[s] = b.pelvis + hips * Vec3{sideSign(s) * bone::hipHalf, 0, 0};
        const Vec3 ankle = lerp(p.ankle[s], q.ankle[s], t);
        const Vec3 hint = b.seated ? Vec3{0, 0.6, 1} : Vec3{0, 0, 1};
        reach(b.hip[s], ankle, hint, bone::thigh, bone::shin, b.knee[s], b.ankle[s]);
        b.legShort[s] = length(ankle - b.ankle[s]);
        b.toe[s] = b.ankle[s] + normalized(Vec3{sideSign(s) * 0.15, 0, 1}) * bone::foot +
                   Vec3{0, -0.06, 0};
    }
    return b;
}

} // namespace

Body solve(const Clip &clip, double t) {
    const Segment seg = segmentAt(clip, t);
    return build(*seg.from, *seg.to, seg.t);
}

Body solve(const Pose &pose) { return build(pose, pose, 0.0); }

} // namespace mediagen
