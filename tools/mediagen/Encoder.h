#pragma once

#include "Pose.h"

#include <QString>

namespace mediagen {

// Renders every frame of the clip and pipes it through ffmpeg into an MPEG-1 program stream.
// Returns an empty string on success, otherwise what went wrong.
QString encodeClip(const QString &ffmpeg, const Clip &clip, const QString &outPath);

} // namespace mediagen
