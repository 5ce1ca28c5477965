#pragma once
// One uniform random source for the whole process, seeded once at start.
#include <cstdint>

namespace vantor {

// Uniform integer in [low, high].
int32_t RandomInt(int32_t low, int32_t high);

}  // namespace vantor
