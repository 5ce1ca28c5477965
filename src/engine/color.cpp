#include "engine/color.h"

#include <initializer_list>
#include <vector>

#include "core/settings.h"
#include "core/state.h"
#include "engine/transform.h"
#include "formats/catalogue.h"
#include "platform/text.h"

namespace vantor {
namespace {

// FreeImage_AdjustColors works on 8, 24 and 32-bit bitmaps only; it refuses
// everything else without changing a pixel.
bool AdjustableAsIs(const FiImage& image) {
    unsigned bpp = FreeImage_GetBPP(image.get());
    return IsStandardBitmap(image) && (bpp == 8 || bpp == 24 || bpp == 32);
}

// The greyscale, threshold and bitmap depth calls take standard bitmaps only.
// 16-bit RGBA keeps its alpha on the way.
FiImage ToStandardBitmap(FiImage image) {
    if (!image || IsStandardBitmap(image)) return image;
    if (FreeImage_GetImageType(image.get()) == FIT_RGBA16)
        return FiImage(FreeImage_ConvertTo32Bits(image.get()));
    return To24Bits(std::move(image));
}

// True when the image is already what the target's row would produce, so it
// can go on untouched. A 32-bit float image is not a 32-bit BGRA one.
bool HasOutputDepth(const FiImage& image, int32_t target) {
    if (static_cast<int32_t>(FreeImage_GetBPP(image.get())) != target) return false;
    switch (FreeImage_GetImageType(image.get())) {
        case FIT_BITMAP:
            return target <= 32;
        case FIT_RGB16:
            return target == 48;
        case FIT_RGBF:
            return target == 96;
        default:
            return false;
    }
}

template <typename T, typename U>
bool IsOneOf(const T& value, std::initializer_list<U> list) {
    for (const U& entry : list)
        if (value == entry) return true;
    return false;
}

FiImage QuantizeTo8Bits(FiImage image) {
    if (FreeImage_GetBPP(image.get()) != 24 || !IsStandardBitmap(image))
        image = To24Bits(std::move(image));
    if (!image) return image;
    return FiImage(FreeImage_ColorQuantizeEx(image.get(), FIQ_WUQUANT, 256, 0, nullptr));
}

FiImage ConvertToBitmapDepth(FiImage image, int32_t target, const std::string& extension) {
    if (!IsOneOf(target, {1, 4, 8, 16, 24, 32})) return nullptr;  // no row makes it
    image = ToStandardBitmap(std::move(image));
    if (!image) return image;
    switch (target) {
        case 1:
            return FiImage(FreeImage_Dither(image.get(), FID_FS));
        case 4:
            return FiImage(FreeImage_ConvertTo4Bits(image.get()));
        case 8:
            if (IsOneOf(extension, {"j2k", "jp2", "jpg", "jxr"}))
                return FiImage(FreeImage_ConvertTo8Bits(image.get()));
            return QuantizeTo8Bits(std::move(image));
        case 16:
            if (IsOneOf(extension, {"ico", "tga"}))
                return FiImage(FreeImage_ConvertTo16Bits555(image.get()));
            return FiImage(FreeImage_ConvertTo16Bits565(image.get()));
        case 24:
            return FiImage(FreeImage_ConvertTo24Bits(image.get()));
        case 32:
            return FiImage(FreeImage_ConvertTo32Bits(image.get()));
        default:
            return nullptr;
    }
}

}  // namespace

FiImage AdjustImageColors(FiImage image) {
    const ConversionSettings& s = Settings();
    if (!image || !s.DoImageColorCorrection) return image;
    if (!AdjustableAsIs(image)) image = To24Bits(std::move(image));
    if (!image) return image;
    // The result tells only whether the depth was one FreeImage adjusts;
    // that was made sure of above.
    (void)FreeImage_AdjustColors(image.get(), s.ImageBrightness, s.ImageContrast,
                                 static_cast<double>(s.ImageGamma), s.ImageInvert ? TRUE : FALSE);
    return image;
}

FiImage MakeGreyscale(FiImage image) {
    if (!image || !Settings().DoImageGreyscale) return image;
    image = ToStandardBitmap(std::move(image));
    if (!image) return image;
    return FiImage(FreeImage_ConvertToGreyscale(image.get()));
}

FiImage ApplyThreshold(FiImage image) {
    const ConversionSettings& s = Settings();
    if (!image || !s.DoImageThreshold) return image;
    image = ToStandardBitmap(std::move(image));
    if (!image) return image;
    const BYTE level = static_cast<BYTE>(s.ImageThreshold & 0xFF);
    return FiImage(FreeImage_Threshold(image.get(), level));
}

int32_t AutomaticDepth(const std::string& extension, int32_t sourceBpp) {
    const std::string list = OutputDepths(extension);
    if (list.empty()) return 0;
    int32_t depth = 0;
    for (const std::string& entry : Split(list, ',')) {
        depth = static_cast<int32_t>(LeadingInteger(entry));
        if (depth >= sourceBpp) return depth;
    }
    return depth;
}

FiImage ConvertToOutputDepth(FiImage image) {
    if (!image) return image;
    ConversionState& state = State();
    // The flag stays set, so every file gets the depth its own source asks for.
    if (state.AutoOutputBpp)
        state.OutputBpp = AutomaticDepth(state.OutputExtension, state.SourceBpp);
    const int32_t target = state.OutputBpp;
    if (HasOutputDepth(image, target)) return image;
    switch (target) {
        case 48:
            return FiImage(FreeImage_ConvertToRGB16(image.get()));
        case 96:
            return FiImage(FreeImage_ConvertToRGBF(image.get()));
        default:
            return ConvertToBitmapDepth(std::move(image), target, state.OutputExtension);
    }
}

}  // namespace vantor
