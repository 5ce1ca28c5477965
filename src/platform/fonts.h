#pragma once
// Fonts by face name, size in points and style flags: fontconfig resolves the
// name, cairo on FreeType measures and draws. Sizes in points are taken at 96
// dots per inch. Underline and strike-out are drawn as bars from the font's
// own metrics.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/canvas.h"

typedef struct _cairo_font_face cairo_font_face_t;

namespace vantor {

struct FontRequest {
    std::string face;
    int64_t points = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

struct CairoFontFaceDeleter {
    void operator()(cairo_font_face_t* face) const;
};

// A loaded font; owns its cairo face. Empty when nothing is loaded.
struct Font {
    std::unique_ptr<cairo_font_face_t, CairoFontFaceDeleter> face;
    std::string family;     // the installed family the name resolved to
    double pixelSize = 0;   // em size in pixels
    bool underline = false;
    bool strikeOut = false;
    // Bars in ems: top edge below the baseline (negative: above) and thickness.
    double underlineTop = 0;
    double underlineThickness = 0;
    double strikeTop = 0;
    double strikeThickness = 0;
    explicit operator bool() const { return face != nullptr; }
};

// Loads the face. It counts as loaded only when the name is not empty, the
// size is above 0, and fontconfig resolves the name to an installed family of
// that name or to a metric-compatible alias of it ("Arial" to "Liberation
// Sans"); a fallback to some other family is a failure. On failure `font` is
// left empty.
[[nodiscard]] bool LoadFont(const FontRequest& request, Font& font);

// Plain: one bit per pixel, hinted metrics, glyph pixels written directly
// (colour and alpha replace what was there). Smooth: anti-aliased vector
// outlines drawn over the canvas.
enum class TextRendering { Plain, Smooth };

struct TextSize {
    int width = 0;   // advance width of the line
    int height = 0;  // ascent + descent of the font
};

// Size of one line of text (UTF-8; bytes that are not UTF-8 count as U+FFFD).
// Plain widths are rounded up, smooth widths to the nearest pixel.
TextSize MeasureText(const Font& font, std::string_view text, TextRendering rendering);

// Draws one line with the top-left corner of its cell at (x, y).
void DrawText(Canvas& canvas, const Font& font, std::string_view text, int x, int y,
              CanvasColor color, TextRendering rendering);

}  // namespace vantor
