#pragma once
// Pixel helpers shared by the drawing tests: plain colours, solid test
// images, and reading a pixel with the top-left corner as origin.
#include <FreeImage.h>

#include <cstdlib>
#include <ostream>

#include "engine/image.h"

namespace vantor::test {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, Rgb c) {
    return os << "(" << c.r << "," << c.g << "," << c.b << ")";
}

inline FiImage SolidImage(int width, int height, int bpp, Rgb colour, int alpha = 255) {
    FiImage image(FreeImage_Allocate(width, height, bpp));
    RGBQUAD q{static_cast<BYTE>(colour.b), static_cast<BYTE>(colour.g),
              static_cast<BYTE>(colour.r), static_cast<BYTE>(alpha)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) FreeImage_SetPixelColor(image.get(), x, y, &q);
    return image;
}

// x, y from the top-left corner, as frames and watermarks are placed.
inline Rgb PixelAt(const FiImage& image, int x, int y) {
    RGBQUAD q{};
    FreeImage_GetPixelColor(image.get(), static_cast<unsigned>(x),
                            FreeImage_GetHeight(image.get()) - 1 - static_cast<unsigned>(y), &q);
    return {q.rgbRed, q.rgbGreen, q.rgbBlue};
}

inline bool Near(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

}  // namespace vantor::test
