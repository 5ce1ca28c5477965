#include "engine/frame.h"

namespace vantor {
// Placeholder until the frame work lands.
FiImage DrawFrame(FiImage image, int, int) { return image; }
}  // namespace vantor
