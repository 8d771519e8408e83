#pragma once

#include "Skeleton.h"

#include <QImage>
#include <QPointF>

namespace mediagen {

inline constexpr int kWidth = 200;
inline constexpr int kHeight = 192;
inline constexpr int kFps = 25;

// Fixed framing for one clip: every frame of a clip uses the same scale and origin so the
// camera never drifts.
struct Framing {
    Camera camera;
    double scale = 100; // pixels per metre
    QPointF origin;     // where the world origin lands

    QPointF project(const Vec3 &p) const;
    double depth(const Vec3 &p) const; // larger is nearer the viewer
    Vec3 towardsViewer() const;
};

Framing frameClip(const Clip &clip, int width = kWidth, int height = kHeight);

// Paints frame number `frame` of the clip onto an image of the framing's size.
void renderFrame(QImage &image, const Clip &clip, const Framing &framing, int frame);

int frameCount(const Clip &clip);

} // namespace mediagen
