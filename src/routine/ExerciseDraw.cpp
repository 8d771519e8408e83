#include "ExerciseDraw.h"

#include <chrono>

namespace pausewell {

void ExerciseDraw::seedFromClock() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    seed(static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
}

} // namespace pausewell
