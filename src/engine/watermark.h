#pragma once
// The watermark step: a block of text or a picture, rendered on a canvas of
// its own size, optionally rotated, cut to fit, placed at one of nine anchors
// and composited over the image.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/image.h"

namespace vantor {

// Draws the text (DoWatermark 1) or picture (2) watermark; width and height as
// measured after resizing. Any watermark type but 0 leaves the image with 24
// bits per pixel; a watermark that cannot be rendered (no font, unreadable
// picture) is skipped. Returns the image to go on with: empty when the
// watermark leaves no room in its area (an offset beyond the area) or the
// composite could not be made, which fails the file.
FiImage DrawWatermark(FiImage image, int width, int height);

// The font of a text watermark is loaded once before a batch and released
// after it. False when WmFont at WmFontSize with its style cannot be loaded.
[[nodiscard]] bool LoadWatermarkFont();
void ReleaseWatermarkFont();

// Top-left corner of a w x h watermark in an area of areaWidth x areaHeight
// for the anchor `position` (0 top-left ... 8 bottom-right; any other value
// gives 0, 0). The offsets count from the anchor's edges and are not used on
// a centred axis.
struct WatermarkPoint {
    int64_t x = 0;
    int64_t y = 0;
};
WatermarkPoint WatermarkPosition(int position, int64_t areaWidth, int64_t areaHeight, int64_t w,
                                 int64_t h, int64_t xOffset, int64_t yOffset);

// Cuts the right and bottom parts off a watermark that does not fit in the
// area beside its offsets. Empty when no room is left at all.
FiImage FitWatermark(FiImage bitmap, int64_t areaWidth, int64_t areaHeight, int64_t xOffset,
                     int64_t yOffset);

// Rotates by `degrees` when it is 1 to 359; otherwise returns the bitmap.
FiImage RotateWatermark(FiImage bitmap, int32_t degrees);

// x of one text line in a block: alignment 0 left, 1 centre, 2 right.
int64_t LineOffset(int64_t lineWidth, int64_t blockWidth, int64_t padding, int alignment);

// The text split at "%eol%" in any letter case.
std::vector<std::string> WatermarkLines(const std::string& text);

}  // namespace vantor
