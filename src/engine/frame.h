#pragma once
#include "engine/image.h"

namespace vantor {
// Draws the solid frame bands; width and height as measured after resizing.
FiImage DrawFrame(FiImage image, int width, int height);
}  // namespace vantor
