#include "engine/watermark.h"

#include <algorithm>
#include <limits>

#include "core/settings.h"
#include "engine/canvas_image.h"
#include "engine/naming.h"
#include "platform/canvas.h"
#include "platform/fonts.h"
#include "platform/text.h"

namespace vantor {
namespace {

constexpr const char* kLineBreak = "%eol%";

// The batch font: loaded before a batch, used by every file of it.
Font& BatchFont() {
    static Font font;
    return font;
}

// Canvas coordinates stay far inside int whatever the settings hold.
int Coordinate(int64_t value) { return static_cast<int>(std::clamp<int64_t>(value, -1000000000, 1000000000)); }

size_t CountLineBreaks(const std::string& text) {
    size_t count = 0;
    for (size_t at = FindNoCase(text, kLineBreak); at != std::string::npos;
         at = FindNoCase(text, kLineBreak, at + 5))
        ++count;
    return count;
}

FiImage RenderText() {
    const ConversionSettings& s = Settings();
    const Font& font = BatchFont();
    if (!font) return nullptr;
    const std::string text = ExpandWatermarkText(s.WmText);
    const bool smooth = s.WmTextAntialiasing != 0;
    const int64_t padding = s.WmTextPadding;

    // The block is measured with the batch font as plain text.
    std::vector<std::string> lines;
    int64_t blockWidth = 0, blockHeight = 0, lineStep = 0;
    const size_t breaks = CountLineBreaks(text);
    if (breaks > 0) {
        lines = WatermarkLines(text);
        int64_t widest = 10, tallest = 10;
        for (const std::string& line : lines) {
            TextSize size = MeasureText(font, line, TextRendering::Plain);
            widest = std::max<int64_t>(widest, size.width);
            tallest = std::max<int64_t>(tallest, size.height);
        }
        lineStep = tallest + s.WmFontLeading;
        blockWidth = widest;
        blockHeight = tallest + static_cast<int64_t>(breaks) * lineStep;
    } else {
        lines.push_back(text);
        TextSize size = MeasureText(font, text, TextRendering::Plain);
        blockWidth = size.width;
        blockHeight = size.height;
    }

    const int64_t width = blockWidth + 2 * padding;
    const int64_t height = blockHeight + 2 * padding;
    const CanvasColor textColor = HexCanvasColor(s.WmFontColor, smooth ? 255 : s.WmTextOpacity);
    const CanvasColor backColor = HexCanvasColor(s.WmBackColor, smooth ? 255 : s.WmBackOpacity);
    const TextRendering rendering = smooth ? TextRendering::Smooth : TextRendering::Plain;

    // Plain text writes both alphas straight into one canvas; smooth text is
    // drawn opaque and the two layers get their opacities when merged.
    Canvas textCanvas = CreateCanvas(width, height);
    if (!textCanvas) return nullptr;
    if (!smooth) FillCanvas(textCanvas, backColor);
    for (size_t i = 0; i < lines.size(); ++i) {
        int64_t x = padding;
        if (breaks > 0) x = LineOffset(MeasureText(font, lines[i], rendering).width, blockWidth,
                                       padding, s.WmTextAlignment);
        const int64_t y = padding + static_cast<int64_t>(i) * lineStep;
        DrawText(textCanvas, font, lines[i], Coordinate(x), Coordinate(y), textColor, rendering);
    }
    if (!smooth) return BitmapFromCanvas(textCanvas);

    Canvas background = CreateCanvas(width, height);
    Canvas merged = CreateCanvas(width, height);
    if (!background || !merged) return nullptr;
    FillCanvas(background, backColor);
    DrawCanvas(merged, background, 0, 0, s.WmBackOpacity);
    DrawCanvas(merged, textCanvas, 0, 0, s.WmTextOpacity);
    return BitmapFromCanvas(merged);
}

uint32_t GreyKeepingAlpha(uint32_t argb) {
    const uint32_t red = (argb >> 16) & 0xFF, green = (argb >> 8) & 0xFF, blue = argb & 0xFF;
    const uint32_t grey = (77 * red + 150 * green + 29 * blue) >> 8;
    return (argb & 0xFF000000) | grey << 16 | grey << 8 | grey;
}

FiImage RenderPicture() {
    const ConversionSettings& s = Settings();
    FiImage picture = LoadPictureFile(s.WmImage);
    if (!picture) return nullptr;
    Canvas source = CanvasFromBitmap(picture.get());
    if (!source) return nullptr;
    Canvas canvas = CreateCanvas(source.width, source.height);
    if (!canvas) return nullptr;
    if (FreeImage_GetBPP(picture.get()) != 32) FillCanvas(canvas, CanvasColor{0, 0, 0, 255});
    CopyCanvas(canvas, source, s.WmImageOpacity, s.WmImageGreyscale ? GreyKeepingAlpha : nullptr);
    return BitmapFromCanvas(canvas);
}

// Where the watermark of the active kind may go.
struct Placement {
    int64_t areaWidth, areaHeight, originX, originY, xOffset, yOffset;
    int position;
    int32_t rotation;
};

Placement PlacementFor(int kind, int width, int height) {
    const ConversionSettings& s = Settings();
    const bool text = kind == 1;
    Placement p{width, height, 0, 0, text ? s.WmTextXOffset : s.WmImageXOffset,
                text ? s.WmTextYOffset : s.WmImageYOffset,
                text ? s.WmTextPosition : s.WmImagePosition,
                text ? s.WmTextRotation : s.WmImageRotation};
    const int boundary = text ? s.WmTextBoundary : s.WmImageBoundary;
    if (s.DoFrame != 0 && boundary == 1) {
        p.areaWidth = int64_t{width} - s.SolidLeft - s.SolidRight;
        p.areaHeight = int64_t{height} - s.SolidTop - s.SolidBottom;
        p.originX = s.SolidLeft;
        p.originY = s.SolidTop;
    }
    return p;
}

FiImage Compose(FiImage image, FiImage mark, int width, int height, const Placement& p) {
    mark = RotateWatermark(std::move(mark), p.rotation);
    mark = FitWatermark(std::move(mark), p.areaWidth, p.areaHeight, p.xOffset, p.yOffset);
    if (!mark) return nullptr;  // no room left in the area: the file fails
    WatermarkPoint at = WatermarkPosition(p.position, p.areaWidth, p.areaHeight, ImageWidth(mark),
                                          ImageHeight(mark), p.xOffset, p.yOffset);
    at.x += p.originX;
    at.y += p.originY;

    FiImage layer(FreeImage_AllocateT(FIT_BITMAP, width, height, FreeImage_GetBPP(mark.get()), 0,
                                      0, 0));
    if (!layer) return nullptr;
    constexpr int64_t kIntMax = std::numeric_limits<int>::max();
    const bool inRange = at.x >= 0 && at.y >= 0 && at.x <= kIntMax && at.y <= kIntMax;
    // A watermark reaching outside the image is refused whole: the image then
    // goes on without one. 256 copies the pixels as they are (255 would blend
    // and lose one step of every value).
    if (inRange) {
        [[maybe_unused]] BOOL pasted = FreeImage_Paste(layer.get(), mark.get(), static_cast<int>(at.x),
                                                      static_cast<int>(at.y), 256);
    }
    return FiImage(FreeImage_Composite(layer.get(), FALSE, nullptr, image.get()));
}

}  // namespace

std::vector<std::string> WatermarkLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t at = FindNoCase(text, kLineBreak); at != std::string::npos;
         at = FindNoCase(text, kLineBreak, from)) {
        lines.push_back(text.substr(from, at - from));
        from = at + 5;
    }
    lines.push_back(text.substr(from));
    return lines;
}

int64_t LineOffset(int64_t lineWidth, int64_t blockWidth, int64_t padding, int alignment) {
    switch (alignment) {
        case 0: return padding;
        case 1: {
            const int64_t room = blockWidth + 2 * padding - lineWidth;
            return room >= 0 ? (room + 1) / 2 : -((-room + 1) / 2);  // halves away from zero
        }
        case 2: return blockWidth + 2 * padding - lineWidth - padding;
        default: return 0;
    }
}

WatermarkPoint WatermarkPosition(int position, int64_t areaWidth, int64_t areaHeight, int64_t w,
                                 int64_t h, int64_t xOffset, int64_t yOffset) {
    if (position < 0 || position > 8) return {};
    const int64_t column[] = {xOffset, (areaWidth - w) / 2, areaWidth - w - xOffset};
    const int64_t row[] = {yOffset, (areaHeight - h) / 2, areaHeight - h - yOffset};
    return {column[position % 3], row[position / 3]};
}

FiImage FitWatermark(FiImage bitmap, int64_t areaWidth, int64_t areaHeight, int64_t xOffset,
                     int64_t yOffset) {
    if (!bitmap) return bitmap;
    const int64_t w = ImageWidth(bitmap), h = ImageHeight(bitmap);
    if (areaWidth >= w + xOffset && areaHeight >= h + yOffset) return bitmap;
    const int64_t right = areaWidth < w + xOffset ? areaWidth - xOffset : w;
    const int64_t bottom = areaHeight < h + yOffset ? areaHeight - yOffset : h;
    if (right <= 0 || bottom <= 0) return nullptr;
    return FiImage(FreeImage_Copy(bitmap.get(), 0, 0, static_cast<int>(right),
                                  static_cast<int>(bottom)));
}

FiImage RotateWatermark(FiImage bitmap, int32_t degrees) {
    if (!bitmap || degrees < 1 || degrees > 359) return bitmap;
    return FiImage(FreeImage_Rotate(bitmap.get(), degrees, nullptr));
}

FiImage DrawWatermark(FiImage image, int width, int height) {
    const int kind = Settings().DoWatermark;
    if (kind == 0 || !image) return image;
    if (FreeImage_GetBPP(image.get()) != 24) image.reset(FreeImage_ConvertTo24Bits(image.get()));
    if (!image) return image;
    FiImage mark = kind == 1 ? RenderText() : kind == 2 ? RenderPicture() : nullptr;
    if (!mark) return image;
    return Compose(std::move(image), std::move(mark), width, height, PlacementFor(kind, width, height));
}

bool LoadWatermarkFont() {
    const ConversionSettings& s = Settings();
    FontRequest request;
    request.face = s.WmFont;
    request.points = s.WmFontSize;
    request.bold = s.WmFontStyle == 1 || s.WmFontStyle == 3;
    request.italic = s.WmFontStyle == 2 || s.WmFontStyle == 3;
    request.underline = s.WmFontEffect == 1;
    request.strikeOut = s.WmFontEffect == 2;
    return LoadFont(request, BatchFont());
}

void ReleaseWatermarkFont() { BatchFont() = Font{}; }

}  // namespace vantor
