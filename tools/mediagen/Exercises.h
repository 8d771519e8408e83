#pragma once

#include "Pose.h"

#include <string_view>
#include <vector>

namespace mediagen {

// One animation per video file name, e.g. "Stretch01.mpg".
const std::vector<Clip> &clips();
const Clip *clipFor(std::string_view file);

// The file name of a catalogue video, which is given with a folder: "\\Stretch\\Stretch01.mpg".
std::string_view videoFile(std::string_view catalogueVideo);

} // namespace mediagen
