#pragma once

#include <array>
#include <string_view>

namespace pausewell {

// One desk stretch: the heading for the label ("&&" shows one "&"), the
// instructions for the text box and the video's name relative to the media root.
struct Exercise {
    std::string_view title;
    std::string_view instructions;
    std::string_view video;
};

inline constexpr int kExerciseCount = 17;

// The fixed list the routine draws from, looked up by index 0 .. kExerciseCount-1.
const Exercise &exercise(int index);

const std::array<Exercise, kExerciseCount> &catalogue();

} // namespace pausewell
