// The pipeline's library calls and nothing else: FreeImage load, the 32-bit
// output depth conversion, raw 32-bit bits, DevIL image, mipmaps, DDS save. bench/run.sh
// times vantor against this to see what our own code costs.
#include <FreeImage.h>
#include <IL/il.h>
#include <IL/ilu.h>

#include <cstdio>
#include <cstdint>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s in.psd out.dds\n", argv[0]);
        return 2;
    }
    ilInit();
    iluInit();
    FIBITMAP* loaded = FreeImage_Load(FIF_PSD, argv[1], 0);
    if (!loaded) return 1;
    // The output depth for DDS is 32 bits, as in the pipeline.
    FIBITMAP* image = FreeImage_GetBPP(loaded) == 32 ? loaded : FreeImage_ConvertTo32Bits(loaded);
    if (image != loaded) FreeImage_Unload(loaded);
    if (!image) return 1;
    const unsigned width = FreeImage_GetWidth(image);
    const unsigned height = FreeImage_GetHeight(image);
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    FreeImage_ConvertToRawBits(pixels.data(), image, static_cast<int>(width * 4), 32,
                               FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
    FreeImage_Unload(image);
    ilEnable(IL_FILE_OVERWRITE);
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    ilTexImage(width, height, 1, 4, IL_BGRA, IL_UNSIGNED_BYTE, pixels.data());
    std::vector<uint8_t>().swap(pixels);
    iluBuildMipmaps();
    const bool ok = ilSave(IL_DDS, argv[2]);
    ilDeleteImages(1, &name);
    return ok ? 0 : 1;
}
