#include "engine/pipeline.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <new>

#include "core/state.h"
#include "engine/color.h"
#include "engine/frame.h"
#include "engine/image.h"
#include "engine/naming.h"
#include "engine/transform.h"
#include "engine/watermark.h"
#include "engine/psd_source.h"
#include "platform/files.h"

namespace vantor {
namespace {

// One DevIL image name, deleted on every way out.
class DevilImage {
public:
    DevilImage() { ilGenImages(1, &mName); }
    ~DevilImage() { ilDeleteImages(1, &mName); }
    DevilImage(const DevilImage&) = delete;
    DevilImage& operator=(const DevilImage&) = delete;
    ILuint Name() const { return mName; }

private:
    ILuint mName = 0;
};

FiImage ToStandardType(FiImage image) {
    if (!image) return image;
    FREE_IMAGE_COLOR_TYPE type = FreeImage_GetColorType(image.get());
    if (type != FIC_MINISWHITE && type != FIC_MINISBLACK) return image;
    return FiImage(FreeImage_ConvertToStandardType(image.get(), TRUE));
}

FiImage ToneMap(FiImage image) {
    if (!image || FreeImage_GetBPP(image.get()) <= 32) return image;
    return FiImage(FreeImage_TmoDrago03(image.get(), 1.0, 0.0));
}

// The editing steps in their fixed order; width and height as after resizing.
FiImage EditImage(FiImage image, int width, int height) {
    FlipImage(image.get());
    image = AdjustImageColors(std::move(image));
    image = MakeGreyscale(std::move(image));
    image = ApplyThreshold(std::move(image));
    image = DrawFrame(std::move(image), width, height);
    image = DrawWatermark(std::move(image), width, height);
    return ConvertToOutputDepth(std::move(image));
}

// Bottom-up BGRA rows of width * 4 bytes, or nothing when it cannot be had.
std::unique_ptr<uint8_t[]> RawBgraPixels(const FiImage& image, int width, int height) {
    const uint64_t pitch = static_cast<uint64_t>(width) * 4;
    const uint64_t bytes = pitch * static_cast<uint64_t>(height);
    if (pitch > std::numeric_limits<int>::max() || bytes > std::numeric_limits<size_t>::max())
        return nullptr;
    std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[bytes]);
    if (!pixels) return nullptr;
    FreeImage_ConvertToRawBits(pixels.get(), image.get(), static_cast<int>(pitch), 32,
                               FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
    return pixels;
}

// Hands the pixels to the bound DevIL image, which copies them, then frees
// them before the mipmap chain is built.
void MakeDevilImage(std::unique_ptr<uint8_t[]> pixels, int width, int height) {
    ILint depth = ilGetInteger(IL_IMAGE_DEPTH);
    ilTexImage(static_cast<ILuint>(width), static_cast<ILuint>(height),
               static_cast<ILuint>(depth), 4, IL_BGRA, IL_UNSIGNED_BYTE, pixels.get());
    pixels.reset();
    iluBuildMipmaps();
}

// Writes the DDS under the temporary name and renames it over the output in
// one step, so a failure at any point leaves an existing output untouched.
bool SaveAndMove(const std::string& temporaryPath, const std::string& outputPath) {
    if (!ilSave(IL_DDS, temporaryPath.c_str())) {
        DeleteFileForced(temporaryPath);
        return false;
    }
    if (!MoveFileReplacing(temporaryPath, outputPath)) {
        DeleteFileForced(temporaryPath);
        return false;
    }
    return true;
}

}  // namespace

bool ConvertCurrentFile() {
    ConversionState& state = State();
    FiImage image = LoadPsd(state.CurrentInput);
    state.SourceBpp = image ? static_cast<int32_t>(FreeImage_GetBPP(image.get())) : 0;
    if (ImageWidth(image) == 0 || ImageHeight(image) == 0) return false;

    image = RotateImage(std::move(image));
    image = ResizeImage(std::move(image), ImageWidth(image), ImageHeight(image));
    const int editWidth = ImageWidth(image);
    const int editHeight = ImageHeight(image);
    image = ToStandardType(std::move(image));
    image = ToneMap(std::move(image));
    image = EditImage(std::move(image), editWidth, editHeight);

    const int width = ImageWidth(image);
    const int height = ImageHeight(image);
    if (width == 0 || height == 0) return false;
    std::unique_ptr<uint8_t[]> pixels = RawBgraPixels(image, width, height);
    image.reset();  // the pixels are all the later steps need
    if (!pixels) return false;

    ilEnable(IL_FILE_OVERWRITE);
    DevilImage devil;
    ilBindImage(devil.Name());
    MakeDevilImage(std::move(pixels), width, height);

    state.FinalWidth = width;
    state.FinalHeight = height;
    state.OutputPath = OutputFilePath();
    state.TemporaryPath = TemporaryFilePath();
    return SaveAndMove(state.TemporaryPath, state.OutputPath);
}

}  // namespace vantor
