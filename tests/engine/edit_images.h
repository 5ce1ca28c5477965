#pragma once
// Small images with known pixels in every depth the editing steps care
// about, an exact comparison, and a heap-growth probe that shows a step
// leaking the image it was given.
#include <FreeImage.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "engine/image.h"

namespace vantor::test {

enum class Kind { Bits1, Bits4, Bits8, Grey16, Bits24, Bits32, Rgb48, Rgbf96, Float32 };

inline const char* KindName(Kind kind) {
    switch (kind) {
        case Kind::Bits1:
            return "Bits1";
        case Kind::Bits4:
            return "Bits4";
        case Kind::Bits8:
            return "Bits8";
        case Kind::Grey16:
            return "Grey16";
        case Kind::Bits24:
            return "Bits24";
        case Kind::Bits32:
            return "Bits32";
        case Kind::Rgb48:
            return "Rgb48";
        case Kind::Rgbf96:
            return "Rgbf96";
        case Kind::Float32:
            return "Float32";
    }
    return "?";
}

// A deterministic, colourful pattern: no two neighbours alike, so a mirrored,
// rotated or misplaced pixel shows.
inline uint8_t Channel(int x, int y, int c) {
    return static_cast<uint8_t>((x * 53 + y * 97 + c * 71 + x * y * 13) & 0xFF);
}

inline FiImage MakeImage(Kind kind, int width = 7, int height = 5) {
    FIBITMAP* dib = nullptr;
    switch (kind) {
        case Kind::Bits1:
        case Kind::Bits4:
        case Kind::Bits8: {
            const int bpp = kind == Kind::Bits1 ? 1 : kind == Kind::Bits4 ? 4 : 8;
            dib = FreeImage_Allocate(width, height, bpp);
            RGBQUAD* palette = FreeImage_GetPalette(dib);
            const int colours = 1 << bpp;
            for (int i = 0; i < colours; ++i) {
                palette[i].rgbRed = Channel(i, 0, 0);
                palette[i].rgbGreen = Channel(i, 1, 1);
                palette[i].rgbBlue = Channel(i, 2, 2);
            }
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    BYTE index = static_cast<BYTE>((x * 3 + y * 5) % colours);
                    FreeImage_SetPixelIndex(dib, x, y, &index);
                }
            break;
        }
        case Kind::Grey16:
            dib = FreeImage_AllocateT(FIT_UINT16, width, height, 16);
            for (int y = 0; y < height; ++y) {
                auto* line = reinterpret_cast<uint16_t*>(FreeImage_GetScanLine(dib, y));
                for (int x = 0; x < width; ++x)
                    line[x] = static_cast<uint16_t>(Channel(x, y, 0) * 257);
            }
            break;
        case Kind::Bits24:
        case Kind::Bits32: {
            const int bytes = kind == Kind::Bits24 ? 3 : 4;
            dib = FreeImage_Allocate(width, height, bytes * 8);
            for (int y = 0; y < height; ++y) {
                BYTE* line = FreeImage_GetScanLine(dib, y);
                for (int x = 0; x < width; ++x) {
                    BYTE* p = line + x * bytes;
                    p[FI_RGBA_RED] = Channel(x, y, 0);
                    p[FI_RGBA_GREEN] = Channel(x, y, 1);
                    p[FI_RGBA_BLUE] = Channel(x, y, 2);
                    if (bytes == 4) p[FI_RGBA_ALPHA] = static_cast<BYTE>(255 - x * 20);
                }
            }
            break;
        }
        case Kind::Rgb48:
            dib = FreeImage_AllocateT(FIT_RGB16, width, height, 48);
            for (int y = 0; y < height; ++y) {
                auto* line = reinterpret_cast<FIRGB16*>(FreeImage_GetScanLine(dib, y));
                for (int x = 0; x < width; ++x)
                    line[x] = {static_cast<WORD>(Channel(x, y, 0) * 257),
                               static_cast<WORD>(Channel(x, y, 1) * 257),
                               static_cast<WORD>(Channel(x, y, 2) * 257)};
            }
            break;
        case Kind::Rgbf96:
            dib = FreeImage_AllocateT(FIT_RGBF, width, height, 96);
            for (int y = 0; y < height; ++y) {
                auto* line = reinterpret_cast<FIRGBF*>(FreeImage_GetScanLine(dib, y));
                for (int x = 0; x < width; ++x)
                    line[x] = {Channel(x, y, 0) / 255.0f, Channel(x, y, 1) / 255.0f,
                               Channel(x, y, 2) / 255.0f};
            }
            break;
        case Kind::Float32:
            dib = FreeImage_AllocateT(FIT_FLOAT, width, height, 32);
            for (int y = 0; y < height; ++y) {
                auto* line = reinterpret_cast<float*>(FreeImage_GetScanLine(dib, y));
                for (int x = 0; x < width; ++x) line[x] = Channel(x, y, 0) / 255.0f;
            }
            break;
    }
    return FiImage(dib);
}

inline FiImage Clone(const FiImage& image) {
    return FiImage(FreeImage_Clone(image.get()));
}

// A copy of the image as a 24-bit bitmap, made with the FreeImage calls that
// take each type there. FreeImage_ConvertTo24Bits refuses 16-bit grey and
// float images, which take the pipeline's own road: the standard type with
// linear scaling, or the Drago03 tone map.
inline FiImage Widened24(Kind kind, const FiImage& image) {
    switch (kind) {
        case Kind::Grey16:
        case Kind::Float32: {
            FiImage standard(FreeImage_ConvertToStandardType(image.get(), TRUE));
            return FiImage(FreeImage_ConvertTo24Bits(standard.get()));
        }
        case Kind::Rgbf96:
            return FiImage(FreeImage_TmoDrago03(image.get(), 1.0, 0.0));
        default:
            return FiImage(FreeImage_ConvertTo24Bits(image.get()));
    }
}

inline std::string Describe(FIBITMAP* dib) {
    if (!dib) return "no image";
    return "type " + std::to_string(FreeImage_GetImageType(dib)) + ", " +
           std::to_string(FreeImage_GetBPP(dib)) + " bpp, " +
           std::to_string(FreeImage_GetWidth(dib)) + "x" + std::to_string(FreeImage_GetHeight(dib));
}

// Exact equality of type, depth, size, palette and every pixel byte.
inline ::testing::AssertionResult SameImage(FIBITMAP* actual, FIBITMAP* expected) {
    if (!actual || !expected)
        return ::testing::AssertionFailure()
               << "actual: " << Describe(actual) << "; expected: " << Describe(expected);
    if (Describe(actual) != Describe(expected))
        return ::testing::AssertionFailure()
               << "actual: " << Describe(actual) << "; expected: " << Describe(expected);
    const unsigned colours = FreeImage_GetColorsUsed(expected);
    if (colours != FreeImage_GetColorsUsed(actual) ||
        (colours && std::memcmp(FreeImage_GetPalette(actual), FreeImage_GetPalette(expected),
                                colours * sizeof(RGBQUAD)) != 0))
        return ::testing::AssertionFailure() << "palettes differ";
    const unsigned lineBytes = FreeImage_GetLine(expected);
    for (unsigned y = 0; y < FreeImage_GetHeight(expected); ++y)
        if (std::memcmp(FreeImage_GetScanLine(actual, y), FreeImage_GetScanLine(expected, y),
                        lineBytes) != 0)
            return ::testing::AssertionFailure() << "pixels differ in row " << y;
    return ::testing::AssertionSuccess();
}

inline RGBQUAD PixelColor(FIBITMAP* dib, unsigned x, unsigned y) {
    RGBQUAD colour{};
    FreeImage_GetPixelColor(dib, x, y, &colour);
    return colour;
}

// Bytes the heap grew by over `rounds` calls, after one warm-up call. A step
// that keeps the image it was given grows it by an image per call. Under
// AddressSanitizer the glibc counters stand still; its leak checker takes over.
inline long long HeapGrowth(const std::function<void()>& call, int rounds = 24) {
    call();
    const long long before = static_cast<long long>(mallinfo2().uordblks);
    for (int i = 0; i < rounds; ++i) call();
    return static_cast<long long>(mallinfo2().uordblks) - before;
}

}  // namespace vantor::test
