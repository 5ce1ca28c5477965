#include "engine/transform.h"

namespace vantor {

// Placeholder steps until the transform work lands: they pass the image on.
FiImage RotateImage(FiImage image) { return image; }
FiImage ResizeImage(FiImage image, int, int) { return image; }
void FlipImage(FIBITMAP*) {}
int ResizeFilter() { return 1; }
int32_t ScaledSize(int32_t value, int32_t, int32_t) { return value; }
uint32_t ColorFromHex(const std::string&) { return 0; }

}  // namespace vantor
