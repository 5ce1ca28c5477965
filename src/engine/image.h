#pragma once
// Owning holders for library resources, so every way out of a step releases
// what it holds. An editing step takes the current image by value and returns
// the image to go on with: a replacement frees the one it was given.
#include <FreeImage.h>

#include <memory>

namespace vantor {

struct FreeImageDeleter {
    void operator()(FIBITMAP* bitmap) const {
        if (bitmap) FreeImage_Unload(bitmap);
    }
};
using FiImage = std::unique_ptr<FIBITMAP, FreeImageDeleter>;

struct FreeImageMemoryDeleter {
    void operator()(FIMEMORY* memory) const {
        if (memory) FreeImage_CloseMemory(memory);
    }
};
using FiMemory = std::unique_ptr<FIMEMORY, FreeImageMemoryDeleter>;

inline int ImageWidth(const FiImage& image) {
    return image ? static_cast<int>(FreeImage_GetWidth(image.get())) : 0;
}
inline int ImageHeight(const FiImage& image) {
    return image ? static_cast<int>(FreeImage_GetHeight(image.get())) : 0;
}

}  // namespace vantor
