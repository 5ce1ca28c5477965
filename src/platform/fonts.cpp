#include "platform/fonts.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <vector>

namespace vantor {
namespace {

struct PatternDeleter {
    void operator()(FcPattern* pattern) const {
        if (pattern) FcPatternDestroy(pattern);
    }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

struct ScaledFontDeleter {
    void operator()(cairo_scaled_font_t* font) const {
        if (font) cairo_scaled_font_destroy(font);
    }
};

struct FontOptionsDeleter {
    void operator()(cairo_font_options_t* options) const {
        if (options) cairo_font_options_destroy(options);
    }
};
using FontOptions = std::unique_ptr<cairo_font_options_t, FontOptionsDeleter>;

// Families the requested name stands for: the name itself and the aliases
// that the configuration binds to it strongly (fontconfig's metric-compatible
// aliases). Weakly bound entries are generic fallbacks and do not count.
std::vector<std::string> StrongFamilies(FcPattern* pattern) {
    std::vector<std::string> families;
    FcPatternIter iter;
    if (!FcPatternFindIter(pattern, &iter, FC_FAMILY)) return families;
    int count = FcPatternIterValueCount(pattern, &iter);
    for (int i = 0; i < count; ++i) {
        FcValue value;
        FcValueBinding binding;
        if (FcPatternIterGetValue(pattern, &iter, i, &value, &binding) != FcResultMatch) continue;
        if (value.type != FcTypeString || binding == FcValueBindingWeak) continue;
        families.emplace_back(reinterpret_cast<const char*>(value.u.s));
    }
    return families;
}

// Family names compare as fontconfig compares them: blanks and case ignored.
bool SameFamily(const char* a, const std::string& b) {
    std::string left, right;
    for (const char* c = a; *c; ++c)
        if (*c != ' ') left += *c;
    for (char c : b)
        if (c != ' ') right += c;
    return FcStrCmpIgnoreCase(reinterpret_cast<const FcChar8*>(left.c_str()),
                              reinterpret_cast<const FcChar8*>(right.c_str())) == 0;
}

// The first family of the match that the name stands for, or "".
std::string AcceptedFamily(FcPattern* match, const std::vector<std::string>& accepted) {
    FcChar8* family = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i)
        for (const std::string& name : accepted)
            if (SameFamily(reinterpret_cast<const char*>(family), name))
                return reinterpret_cast<const char*>(family);
    return {};
}

// Only the font file and what synthesises the style go to cairo, so the
// rendering options (anti-aliasing, hinting) stay ours to choose per drawing.
Pattern FacePattern(FcPattern* match) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) return nullptr;
    Pattern face(FcPatternCreate());
    if (!face) return nullptr;
    int index = 0;
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    FcPatternAddString(face.get(), FC_FILE, file);
    FcPatternAddInteger(face.get(), FC_INDEX, index);
    FcBool embolden = FcFalse;
    if (FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden) == FcResultMatch)
        FcPatternAddBool(face.get(), FC_EMBOLDEN, embolden);
    FcMatrix* matrix = nullptr;
    if (FcPatternGetMatrix(match, FC_MATRIX, 0, &matrix) == FcResultMatch)
        FcPatternAddMatrix(face.get(), FC_MATRIX, matrix);
    return face;
}

FontOptions RenderingOptions(TextRendering rendering) {
    FontOptions options(cairo_font_options_create());
    if (rendering == TextRendering::Plain) {
        cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_NONE);
        cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_ON);
    } else {
        cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
    }
    return options;
}

// Underline and strike-out bars from the font file's metrics, in ems.
void ReadLineMetrics(Font& font) {
    // Sensible bars for fonts that do not carry their own.
    font.underlineTop = 0.1;
    font.underlineThickness = 0.07;
    font.strikeTop = -0.3;
    font.strikeThickness = 0.07;

    cairo_matrix_t size, identity;
    cairo_matrix_init_scale(&size, font.pixelSize, font.pixelSize);
    cairo_matrix_init_identity(&identity);
    FontOptions options = RenderingOptions(TextRendering::Smooth);
    std::unique_ptr<cairo_scaled_font_t, ScaledFontDeleter> scaled(
        cairo_scaled_font_create(font.face.get(), &size, &identity, options.get()));
    if (cairo_scaled_font_status(scaled.get()) != CAIRO_STATUS_SUCCESS) return;
    FT_Face face = cairo_ft_scaled_font_lock_face(scaled.get());
    if (!face) return;
    const double units = face->units_per_EM;
    if (units > 0) {
        if (face->underline_thickness > 0) {
            font.underlineThickness = face->underline_thickness / units;
            // FreeType gives the centre of the bar, upwards positive.
            font.underlineTop = -face->underline_position / units - font.underlineThickness / 2;
        }
        auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
            font.strikeThickness = os2->yStrikeoutSize / units;
            font.strikeTop = -os2->yStrikeoutPosition / units;  // top of the bar, upwards
        }
    }
    cairo_ft_scaled_font_unlock_face(scaled.get());
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Valid UTF-8 as it is; every byte that does not belong to a valid sequence
// becomes U+FFFD, so cairo never refuses the text.
std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        bool valid = length > 0 && i + length <= text.size();
        uint32_t code = length == 1 ? c : length == 2 ? c & 0x1F : length == 3 ? c & 0x0F : c & 0x07;
        for (size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = IsContinuation(next);
            code = (code << 6) | (next & 0x3F);
        }
        if (valid) {
            static const uint32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
            valid = code >= kMinimum[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        }
        if (valid) {
            out.append(text.substr(i, length));
            i += length;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

void ApplyFont(cairo_t* context, const Font& font, TextRendering rendering) {
    cairo_set_font_face(context, font.face.get());
    cairo_set_font_size(context, font.pixelSize);
    FontOptions options = RenderingOptions(rendering);
    cairo_set_font_options(context, options.get());
}

// Vertical metrics of the font as drawn: ascent and full height in pixels.
void LineMetrics(cairo_t* context, double& ascent, double& height) {
    cairo_font_extents_t extents;
    cairo_font_extents(context, &extents);
    ascent = extents.ascent;
    height = extents.ascent + extents.descent;
}

}  // namespace

void CairoFontFaceDeleter::operator()(cairo_font_face_t* face) const {
    if (face) cairo_font_face_destroy(face);
}

bool LoadFont(const FontRequest& request, Font& font) {
    font = Font{};
    if (request.face.empty() || request.points <= 0) return false;
    const double pixelSize = static_cast<double>(request.points) * 96.0 / 72.0;
    if (!std::isfinite(pixelSize)) return false;

    Pattern pattern(FcPatternCreate());
    if (!pattern) return false;
    FcPatternAddString(pattern.get(), FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(request.face.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, request.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddDouble(pattern.get(), FC_PIXEL_SIZE, pixelSize);
    if (!FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern)) return false;
    std::vector<std::string> accepted = StrongFamilies(pattern.get());
    FcDefaultSubstitute(pattern.get());

    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(nullptr, pattern.get(), &result));
    if (!match) return false;
    std::string family = AcceptedFamily(match.get(), accepted);
    if (family.empty()) return false;
    Pattern facePattern = FacePattern(match.get());
    if (!facePattern) return false;

    Font loaded;
    loaded.face.reset(cairo_ft_font_face_create_for_pattern(facePattern.get()));
    if (cairo_font_face_status(loaded.face.get()) != CAIRO_STATUS_SUCCESS) return false;
    loaded.family = family;
    loaded.pixelSize = pixelSize;
    loaded.underline = request.underline;
    loaded.strikeOut = request.strikeOut;
    ReadLineMetrics(loaded);
    font = std::move(loaded);
    return true;
}

TextSize MeasureText(const Font& font, std::string_view text, TextRendering rendering) {
    TextSize size;
    if (!font) return size;
    Canvas scratch = CreateCanvas(1, 1);
    if (!scratch) return size;
    CairoContext context(cairo_create(scratch.surface.get()));
    ApplyFont(context.get(), font, rendering);
    double ascent = 0, height = 0;
    LineMetrics(context.get(), ascent, height);
    cairo_text_extents_t extents;
    cairo_text_extents(context.get(), ValidUtf8(text).c_str(), &extents);
    if (cairo_status(context.get()) != CAIRO_STATUS_SUCCESS) return size;
    const double width = std::max(0.0, extents.x_advance);
    size.width = static_cast<int>(rendering == TextRendering::Plain ? std::ceil(width)
                                                                    : std::lround(width));
    size.height = static_cast<int>(std::ceil(height));
    return size;
}

void DrawText(Canvas& canvas, const Font& font, std::string_view text, int x, int y,
              CanvasColor color, TextRendering rendering) {
    if (!canvas || !font) return;
    CairoContext context(cairo_create(canvas.surface.get()));
    if (cairo_status(context.get()) != CAIRO_STATUS_SUCCESS) return;
    const bool plain = rendering == TextRendering::Plain;
    ApplyFont(context.get(), font, rendering);
    // Plain text writes its pixels, alpha included, straight into the canvas.
    cairo_set_operator(context.get(), plain ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
    cairo_set_antialias(context.get(), plain ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_GRAY);
    cairo_set_source_rgba(context.get(), color.red / 255.0, color.green / 255.0,
                          color.blue / 255.0, color.alpha / 255.0);

    double ascent = 0, height = 0;
    LineMetrics(context.get(), ascent, height);
    const std::string line = ValidUtf8(text);
    const double baseline = y + (plain ? std::round(ascent) : ascent);
    cairo_move_to(context.get(), x, baseline);
    cairo_show_text(context.get(), line.c_str());

    cairo_text_extents_t extents;
    cairo_text_extents(context.get(), line.c_str(), &extents);
    const double width = extents.x_advance;
    auto bar = [&](double top, double thickness) {
        double barTop = baseline + top * font.pixelSize;
        double barHeight = std::max(1.0, thickness * font.pixelSize);
        if (plain) {
            barTop = std::round(barTop);
            barHeight = std::max(1.0, std::round(barHeight));
        }
        cairo_rectangle(context.get(), x, barTop, width, barHeight);
        cairo_fill(context.get());
    };
    if (width > 0 && font.underline) bar(font.underlineTop, font.underlineThickness);
    if (width > 0 && font.strikeOut) bar(font.strikeTop, font.strikeThickness);
}

}  // namespace vantor
