#pragma once

#include "Catalogue.h"

#include <cstdint>
#include <random>

namespace pausewell {

// The routine's draw: independent, uniform over the catalogue's indexes, from one
// generator seeded once.
class ExerciseDraw {
public:
    void seed(std::uint32_t value) { m_generator.seed(value); }
    void seedFromClock();
    int next() { return m_distribution(m_generator); }

private:
    std::mt19937 m_generator;
    std::uniform_int_distribution<int> m_distribution{0, kExerciseCount - 1};
};

} // namespace pausewell
