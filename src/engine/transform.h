#pragma once
// Geometric steps of the pipeline: rotation, resizing and flipping. Each reads
// its own settings; switched off or given no image, it passes the image on.
#include <cstdint>
#include <string>

#include "engine/image.h"

namespace vantor {

FiImage RotateImage(FiImage image);
// width and height: the image's current size, read just before the call.
FiImage ResizeImage(FiImage image, int width, int height);
void FlipImage(FIBITMAP* image);  // in place

int ResizeFilter();  // FreeImage filter code of ImageResizeAlgorithm
int32_t ScaledSize(int32_t value, int32_t unit, int32_t size);
// "RRGGBB" -> red + 256 * green + 65536 * blue; any other length is black.
uint32_t ColorFromHex(const std::string& text);

}  // namespace vantor
