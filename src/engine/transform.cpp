#include "engine/transform.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

#include "core/settings.h"
#include "platform/files.h"

namespace vantor {
namespace {

int32_t ClampToInt32(int64_t value) {
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

// One side derived from the other with the aspect kept. Never below one
// pixel: FreeImage cannot rescale to a zero size, and a very wide or tall
// image would otherwise be lost instead of resized.
int32_t AspectSide(int32_t target, float ratio) {
    float side = std::round(static_cast<float>(target) / ratio);  // halves away from zero
    if (!(side >= 1.0f)) return 1;                                // also catches NaN
    if (side >= 2147483647.0f) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(side);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// FreeImage_Rotate and FreeImage_RotateEx work on 24 and 32-bit bitmaps;
// RotateEx also reads a 32-bit float image as if it were BGRA.
bool RotatableAsIs(const FiImage& image) {
    unsigned bpp = FreeImage_GetBPP(image.get());
    return IsStandardBitmap(image) && (bpp == 24 || bpp == 32);
}

// FreeImage_FlipHorizontal swaps whole bytes of a 4-bit line, so an odd
// width pulls the padding nibble in and shifts every pixel by one. Mirror the
// indices one by one instead.
void FlipFourBitsHorizontal(FIBITMAP* image) {
    const unsigned width = FreeImage_GetWidth(image);
    for (unsigned y = 0; y < FreeImage_GetHeight(image); ++y)
        for (unsigned left = 0, right = width - 1; left < right; ++left, --right) {
            BYTE a = 0, b = 0;
            FreeImage_GetPixelIndex(image, left, y, &a);
            FreeImage_GetPixelIndex(image, right, y, &b);
            FreeImage_SetPixelIndex(image, left, y, &b);
            FreeImage_SetPixelIndex(image, right, y, &a);
        }
}

}  // namespace

bool IsStandardBitmap(const FiImage& image) {
    return image && FreeImage_GetImageType(image.get()) == FIT_BITMAP;
}

FiImage To24Bits(FiImage image) {
    if (!image) return image;
    switch (FreeImage_GetImageType(image.get())) {
        case FIT_BITMAP:
        case FIT_RGB16:
        case FIT_RGBA16:
            return FiImage(FreeImage_ConvertTo24Bits(image.get()));
        case FIT_RGBF:
        case FIT_RGBAF:
            return FiImage(FreeImage_TmoDrago03(image.get(), 1.0, 0.0));
        default: {
            FiImage standard(FreeImage_ConvertToStandardType(image.get(), TRUE));
            image.reset();
            if (!standard) return standard;
            return FiImage(FreeImage_ConvertTo24Bits(standard.get()));
        }
    }
}

FiImage RotateImage(FiImage image) {
    const ConversionSettings& s = Settings();
    if (!image || !s.DoImageRotation) return image;
    const int32_t angle = s.ImageRotation;
    if (angle < 1 || angle > 359) return image;

    if (!RotatableAsIs(image)) image = To24Bits(std::move(image));
    if (!image) return image;

    if (s.ImageRotationType == 0) {
        const uint32_t color = ColorFromHex(s.ImageRotationBackColor);
        RGBQUAD back{};
        back.rgbRed = static_cast<BYTE>(color & 0xFF);
        back.rgbGreen = static_cast<BYTE>((color >> 8) & 0xFF);
        back.rgbBlue = static_cast<BYTE>((color >> 16) & 0xFF);
        back.rgbReserved = 0;
        return FiImage(FreeImage_Rotate(image.get(), angle, &back));
    }
    if (s.ImageRotationType == 1) {
        const double originX = FreeImage_GetWidth(image.get()) / 2.0;
        const double originY = FreeImage_GetHeight(image.get()) / 2.0;
        return FiImage(FreeImage_RotateEx(image.get(), angle, 0.0, 0.0, originX, originY, FALSE));
    }
    return image;
}

int ResizeFilter() {
    // Index of the options dialog's list -> FreeImage filter code.
    static constexpr FREE_IMAGE_FILTER kFilters[] = {FILTER_BOX,        FILTER_BILINEAR,
                                                     FILTER_BSPLINE,    FILTER_BICUBIC,
                                                     FILTER_CATMULLROM, FILTER_LANCZOS3};
    const int index = Settings().ImageResizeAlgorithm;
    if (index < 0 || index >= static_cast<int>(std::size(kFilters))) return FILTER_BICUBIC;
    return kFilters[index];
}

int32_t ScaledSize(int32_t value, int32_t unit, int32_t size) {
    if (unit == 0) return value;
    if (unit != 1) return 0;
    // Exact value * size / 100, rounded half to even, in whole numbers so no
    // floating-point error can move a half.
    const int64_t product = static_cast<int64_t>(value) * size;
    int64_t quotient = product / 100;
    const int64_t remainder = product % 100;
    if (remainder > 50 || (remainder == 50 && quotient % 2 != 0)) ++quotient;
    if (remainder < -50 || (remainder == -50 && quotient % 2 != 0)) --quotient;
    return ClampToInt32(quotient);
}

FiImage ResizeImage(FiImage image, int width, int height) {
    const ConversionSettings& s = Settings();
    if (!image || !s.DoImageResize || width <= 0 || height <= 0) return image;

    int32_t targetWidth = ScaledSize(s.ImageWidth, s.ImageWidthUnit, width);
    int32_t targetHeight = ScaledSize(s.ImageHeight, s.ImageHeightUnit, height);
    if (targetWidth <= 0 || targetHeight <= 0) return image;
    if (targetWidth == width && targetHeight == height) return image;
    if (s.ImageResizeType == 1 && width < targetWidth && height < targetHeight) return image;

    if (s.KeepAspectRatio) {
        if (width >= height) {
            const float ratio = static_cast<float>(width) / static_cast<float>(height);
            targetHeight = AspectSide(targetWidth, ratio);
        } else {
            const float ratio = static_cast<float>(height) / static_cast<float>(width);
            targetWidth = AspectSide(targetHeight, ratio);
        }
    }
    // A target far beyond this machine's memory would only be found out by
    // the kernel half-way through; the file fails cleanly instead.
    const uint64_t bytes = static_cast<uint64_t>(targetWidth) * static_cast<uint64_t>(targetHeight) *
                           std::max(4u, FreeImage_GetBPP(image.get()) / 8);
    const uint64_t memory = PhysicalMemoryBytes();
    if (memory != 0 && bytes >= memory / 2) return nullptr;
    return FiImage(FreeImage_Rescale(image.get(), targetWidth, targetHeight,
                                     static_cast<FREE_IMAGE_FILTER>(ResizeFilter())));
}

void FlipImage(FIBITMAP* image) {
    if (!image) return;
    const ConversionSettings& s = Settings();
    if (s.DoImageFlipHorizontal) {
        if (FreeImage_GetImageType(image) == FIT_BITMAP && FreeImage_GetBPP(image) == 4)
            FlipFourBitsHorizontal(image);
        else
            FreeImage_FlipHorizontal(image);
    }
    if (s.DoImageFlipVertical) FreeImage_FlipVertical(image);
}

uint32_t ColorFromHex(const std::string& text) {
    if (text.size() != 6) return 0;
    uint32_t value = 0;
    for (int pair = 0; pair < 3; ++pair) {
        const int high = HexDigit(text[static_cast<size_t>(pair * 2)]);
        const int low = HexDigit(text[static_cast<size_t>(pair * 2 + 1)]);
        if (high < 0 || low < 0) return 0;  // a malformed colour reads as black
        value |= static_cast<uint32_t>(high * 16 + low) << (8 * pair);
    }
    return value;
}

}  // namespace vantor
