#include "engine/canvas_image.h"

#include <vector>

#include "engine/transform.h"
#include "platform/files.h"

namespace vantor {

FiImage BitmapFromCanvas(const Canvas& canvas) {
    std::vector<uint32_t> pixels = CanvasPixels(canvas);
    if (pixels.empty()) return nullptr;
    FiImage bitmap(FreeImage_Allocate(canvas.width, canvas.height, 32, FI_RGBA_RED_MASK,
                                      FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK));
    if (!bitmap) return nullptr;
    for (int y = 0; y < canvas.height; ++y) {
        // FreeImage keeps its rows bottom-up.
        BYTE* row = FreeImage_GetScanLine(bitmap.get(), canvas.height - 1 - y);
        const uint32_t* from = pixels.data() + static_cast<size_t>(y) * canvas.width;
        for (int x = 0; x < canvas.width; ++x, row += 4) {
            row[FI_RGBA_RED] = static_cast<BYTE>(from[x] >> 16);
            row[FI_RGBA_GREEN] = static_cast<BYTE>(from[x] >> 8);
            row[FI_RGBA_BLUE] = static_cast<BYTE>(from[x]);
            row[FI_RGBA_ALPHA] = static_cast<BYTE>(from[x] >> 24);
        }
    }
    return bitmap;
}

Canvas CanvasFromBitmap(FIBITMAP* bitmap) {
    if (!bitmap || !FreeImage_HasPixels(bitmap)) return {};
    FiImage wide(FreeImage_ConvertTo32Bits(bitmap));
    if (!wide) {
        // High-precision types go through the standard 8-bit form first.
        FiImage standard(FreeImage_ConvertToStandardType(bitmap, TRUE));
        if (standard) wide.reset(FreeImage_ConvertTo32Bits(standard.get()));
    }
    if (!wide) return {};
    const int width = ImageWidth(wide);
    const int height = ImageHeight(wide);
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767) return {};
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const BYTE* row = FreeImage_GetScanLine(wide.get(), height - 1 - y);
        for (int x = 0; x < width; ++x, row += 4)
            pixels.push_back(static_cast<uint32_t>(row[FI_RGBA_ALPHA]) << 24 |
                             static_cast<uint32_t>(row[FI_RGBA_RED]) << 16 |
                             static_cast<uint32_t>(row[FI_RGBA_GREEN]) << 8 | row[FI_RGBA_BLUE]);
    }
    return CanvasFromPixels(width, height, pixels);
}

FiImage LoadPictureFile(const std::string& path) {
    if (QueryPath(path).kind != PathInfo::File) return nullptr;
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
    if (format == FIF_UNKNOWN) format = FreeImage_GetFIFFromFilename(path.c_str());
    if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) return nullptr;
    FiImage picture(FreeImage_Load(format, path.c_str(), 0));
    if (!picture || !FreeImage_HasPixels(picture.get())) return nullptr;
    return picture;
}

CanvasColor HexCanvasColor(const std::string& hex, int64_t opacity) {
    const uint32_t color = ColorFromHex(hex);  // red + 256 * green + 65536 * blue
    return CanvasColor{static_cast<uint8_t>(color & 0xFF), static_cast<uint8_t>((color >> 8) & 0xFF),
                       static_cast<uint8_t>((color >> 16) & 0xFF), OpacityByte(opacity)};
}

}  // namespace vantor
