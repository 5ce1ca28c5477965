#include "engine/transform.h"

namespace vantor {

// Placeholder steps until the transform work lands: they pass the image on.
FiImage RotateImage(FiImage image) { return image; }
FiImage ResizeImage(FiImage image, int, int) { return image; }
void FlipImage(FIBITMAP*) {}
int ResizeFilter() { return 1; }
int32_t ScaledSize(int32_t value, int32_t, int32_t) { return value; }

uint32_t ColorFromHex(const std::string& text) {
    if (text.size() != 6) return 0;
    uint32_t value = 0;
    for (int pair = 0; pair < 3; ++pair) {
        uint32_t component = 0;
        for (int k = 0; k < 2; ++k) {
            char c = text[static_cast<size_t>(pair * 2 + k)];
            uint32_t digit = c >= '0' && c <= '9'   ? static_cast<uint32_t>(c - '0')
                             : c >= 'a' && c <= 'f' ? static_cast<uint32_t>(c - 'a' + 10)
                             : c >= 'A' && c <= 'F' ? static_cast<uint32_t>(c - 'A' + 10)
                                                    : 0;
            component = component * 16 + digit;
        }
        value |= component << (8 * pair);
    }
    return value;
}

}  // namespace vantor
