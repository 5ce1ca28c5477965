#pragma once
// Geometric steps of the pipeline: rotation, resizing and flipping. Each reads
// its own settings; switched off or given no image, it passes the image on.
// A step that makes a replacement has released the image it was given; when
// FreeImage cannot do the work, the step returns no image and the pipeline
// fails the file.
#include <cstdint>
#include <string>

#include "engine/image.h"

namespace vantor {

FiImage RotateImage(FiImage image);
// width and height: the image's current size, read just before the call.
FiImage ResizeImage(FiImage image, int width, int height);
void FlipImage(FIBITMAP* image);  // in place; no image, nothing to do

int ResizeFilter();  // FreeImage filter code of ImageResizeAlgorithm
// Target pixels for one side: unit 0 pixels, 1 percent of size (halves to
// even); any other unit gives 0. Clamped to the 32-bit range.
int32_t ScaledSize(int32_t value, int32_t unit, int32_t size);
// "RRGGBB" -> red + 256 * green + 65536 * blue; any other text is black.
uint32_t ColorFromHex(const std::string& text);

// A 24-bit standard bitmap made from an image of any type FreeImage holds.
// FreeImage_ConvertTo24Bits alone refuses 16-bit grey and float images, so
// those take the road the pipeline gives them anyway (standard type with
// linear scaling, or the Drago03 tone map). Releases the input; empty when
// the conversion fails.
FiImage To24Bits(FiImage image);
bool IsStandardBitmap(const FiImage& image);  // FIT_BITMAP

}  // namespace vantor
