#include "platform/crc.h"

#include <zlib.h>

namespace vantor {
uint32_t Crc32OfText(std::string_view text) {
    uLong crc = crc32(0L, Z_NULL, 0);
    return static_cast<uint32_t>(
        crc32(crc, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
}
}  // namespace vantor
