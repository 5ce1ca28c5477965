#include "engine/frame.h"

#include <cstdint>
#include <string>

#include "core/settings.h"
#include "engine/canvas_image.h"
#include "platform/canvas.h"

namespace vantor {
namespace {

std::string N(int64_t value) { return std::to_string(value); }

// The four band sizes; 64-bit so that sums of any stored values are exact.
struct Bands {
    int64_t left, right, top, bottom;
};

// Corner squares first, then the four trapezoids whose slanted sides split
// each corner along its diagonal; the squares fill the seam that the
// anti-aliased diagonals would otherwise leave.
void PaintBands(Canvas& canvas, int64_t W, int64_t H, const Bands& b) {
    const ConversionSettings& s = Settings();
    const CanvasColor top = HexCanvasColor(s.SolidTopColor, 255);
    const CanvasColor right = HexCanvasColor(s.SolidRightColor, 255);
    const CanvasColor bottom = HexCanvasColor(s.SolidBottomColor, 255);
    const CanvasColor left = HexCanvasColor(s.SolidLeftColor, 255);
    const int64_t L = b.left, R = b.right, T = b.top, B = b.bottom;

    CanvasPainter painter(canvas);
    if (!painter.Ready()) return;
    auto rectangle = [&](CanvasColor color, int64_t x, int64_t y, int64_t w, int64_t h) {
        painter.SetFill(color);
        painter.AddRectangle(static_cast<double>(x), static_cast<double>(y), static_cast<double>(w),
                             static_cast<double>(h));
        painter.FillPath();
    };
    auto path = [&](CanvasColor color, const std::string& commands) {
        painter.SetFill(color);
        if (painter.AddPath(commands)) painter.FillPath();
    };
    rectangle(top, 0, 0, L, T);
    rectangle(right, W - R, 0, R, T);
    rectangle(bottom, W - R, H - B, R, B);
    rectangle(left, 0, H - B, L, B);
    path(top, "M 0 0 l " + N(W) + " 0 l -" + N(R) + " " + N(T) + " l -" + N(W - L - R) + " 0 Z");
    path(right, "M " + N(W) + " 0 l 0 " + N(H) + " l -" + N(R) + " -" + N(B) + " l 0 -" +
                    N(H - T - B) + " Z");
    path(bottom, "M " + N(W) + " " + N(H) + " l -" + N(W) + " 0 l " + N(L) + " -" + N(B) +
                     " l " + N(W - L - R) + " 0 Z");
    path(left, "M 0 " + N(H) + " l 0 -" + N(H) + " l " + N(L) + " " + N(T) + " l 0 " +
                   N(H - T - B) + " Z");
}

}  // namespace

FiImage DrawFrame(FiImage image, int width, int height) {
    const ConversionSettings& s = Settings();
    if (s.DoFrame == 0 || !image) return image;
    if (FreeImage_GetBPP(image.get()) != 24) image.reset(FreeImage_ConvertTo24Bits(image.get()));
    if (s.DoFrame != 1 || !image) return image;

    Canvas bands = CreateCanvas(width, height);
    if (!bands) return image;
    PaintBands(bands, width, height, Bands{s.SolidLeft, s.SolidRight, s.SolidTop, s.SolidBottom});

    // The frame's opacity applies to the whole drawing at once.
    Canvas faded = CreateCanvas(width, height);
    if (!faded) return image;
    DrawCanvas(faded, bands, 0, 0, s.SolidOpacity);

    FiImage frame = BitmapFromCanvas(faded);
    if (!frame) return image;
    return FiImage(FreeImage_Composite(frame.get(), FALSE, nullptr, image.get()));
}

}  // namespace vantor
