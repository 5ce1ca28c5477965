#pragma once
#include <cstdint>
#include <string_view>

namespace vantor {
// CRC-32 (zlib) over the UTF-8 bytes of a text.
uint32_t Crc32OfText(std::string_view text);
}  // namespace vantor
