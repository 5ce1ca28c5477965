#pragma once
#include "engine/image.h"

namespace vantor {

// Draws the solid frame bands (DoFrame 1) along the inner edges of the image,
// mitred at the corners, with the frame's opacity. Width and height are the
// image's size as measured after resizing. Any frame type but 0 leaves the
// image with 24 bits per pixel. Returns the image to go on with: empty only
// when the final composite could not be made, which fails the file.
FiImage DrawFrame(FiImage image, int width, int height);

}  // namespace vantor
