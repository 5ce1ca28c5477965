#pragma once
// Hand-over between drawing canvases and FreeImage bitmaps for the frame and
// the watermark: straight alpha on both sides, so nothing is lost on the way.
#include <cstdint>
#include <string>

#include "engine/image.h"
#include "platform/canvas.h"

namespace vantor {

// A 32-bit FreeImage bitmap with alpha holding the canvas, or empty.
FiImage BitmapFromCanvas(const Canvas& canvas);

// The bitmap widened to 32 bits with alpha, as a canvas, or empty.
Canvas CanvasFromBitmap(FIBITMAP* bitmap);

// A picture file decoded by FreeImage (any format it reads), or empty.
FiImage LoadPictureFile(const std::string& path);

// "RRGGBB" as a canvas colour with the given opacity (clamped to 0..255).
CanvasColor HexCanvasColor(const std::string& hex, int64_t opacity);

}  // namespace vantor
