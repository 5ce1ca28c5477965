#pragma once
// 32-bit drawing canvases with alpha, on cairo image surfaces (no display
// needed). Cairo keeps premultiplied pixels; everything that crosses this
// interface as a pixel value is straight alpha, 0xAARRGGBB, rows top to
// bottom. A canvas that could not be made is empty, and every routine given
// an empty canvas does nothing.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;

namespace vantor {

struct CanvasColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 255;
};

// Clamps an opacity setting of any value into 0..255.
uint8_t OpacityByte(int64_t opacity);

struct CairoSurfaceDeleter {
    void operator()(cairo_surface_t* surface) const;
};
struct CairoContextDeleter {
    void operator()(cairo_t* context) const;
};
using CairoSurface = std::unique_ptr<cairo_surface_t, CairoSurfaceDeleter>;
using CairoContext = std::unique_ptr<cairo_t, CairoContextDeleter>;

// One ARGB32 image surface; owns it.
struct Canvas {
    CairoSurface surface;
    int width = 0;
    int height = 0;
    explicit operator bool() const { return surface != nullptr; }
};

// A transparent canvas. Empty for a size of 0 or less, above cairo's limit
// of 32767 on a side, or when memory runs out.
[[nodiscard]] Canvas CreateCanvas(int64_t width, int64_t height);

// Replaces every pixel, alpha included (not blended).
void FillCanvas(Canvas& canvas, CanvasColor color);

// Draws source over target with its top-left corner at (x, y), its alpha
// scaled by opacity / 255.
void DrawCanvas(Canvas& target, const Canvas& source, int x, int y, int64_t opacity);

// Per-pixel filter on straight 0xAARRGGBB values.
using PixelFilter = uint32_t (*)(uint32_t argb);
// Writes source into target from (0, 0) on: every channel of the covered
// pixels is replaced, not blended, with the alpha scaled by opacity / 255 and
// the colour passed through filter first when one is given.
void CopyCanvas(Canvas& target, const Canvas& source, int64_t opacity,
                PixelFilter filter = nullptr);

// Straight-alpha pixels of the canvas (width * height values), or nothing.
std::vector<uint32_t> CanvasPixels(const Canvas& canvas);
// A canvas holding the given straight-alpha pixels (width * height values).
[[nodiscard]] Canvas CanvasFromPixels(int width, int height, const std::vector<uint32_t>& pixels);

// Filled shapes on one canvas. The current path collects rectangles and path
// strings until FillPath paints it in the fill colour and clears it.
class CanvasPainter {
public:
    explicit CanvasPainter(Canvas& canvas);
    // False when drawing cannot start (empty canvas, no memory).
    bool Ready() const { return mContext != nullptr; }

    void SetFill(CanvasColor color);
    void AddRectangle(double x, double y, double width, double height);
    // Commands separated by spaces: "M x y" moves to a point, "l dx dy" draws
    // a line by an offset, "Z" closes the figure. Numbers are decimal
    // integers; each leading "-" negates ("--5" is 5). False, and nothing
    // added, when the text does not parse.
    [[nodiscard]] bool AddPath(std::string_view commands);
    void FillPath(bool antialias = true);

private:
    CairoContext mContext;
};

}  // namespace vantor
