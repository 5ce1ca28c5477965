#pragma once
#include "engine/image.h"

namespace vantor {

// Draws the text or picture watermark; width and height as after resizing.
FiImage DrawWatermark(FiImage image, int width, int height);

// The font of a text watermark is loaded once before a batch and released
// after it. False when WmFont at WmFontSize with its style cannot be loaded.
[[nodiscard]] bool LoadWatermarkFont();
void ReleaseWatermarkFont();

}  // namespace vantor
