#pragma once

#include <QString>

namespace mediagen {

// A review sheet: every exercise's title with a strip of frames across its length.
bool writeContactSheet(const QString &path, int framesPerClip = 8);

} // namespace mediagen
