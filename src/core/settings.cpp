#include "core/settings.h"

#include "platform/clock.h"
#include "platform/screen.h"
#include "platform/text.h"

namespace vantor {
namespace {

struct TokenRow {
    int vocabulary;
    const char* token;
    int8_t value;
};

// Tokens in the order they are searched; the first token of a value is the
// one shown in reports. Vocabularies 13 and 14 are for display only.
const TokenRow kTokens[] = {
    {0, "AUTO", 0}, {0, "BGRA", 1}, {0, "RGBA", 2},
    {1, "AUTO", 0}, {1, "8", 1}, {1, "16", 2}, {1, "24", 3}, {1, "48HS", 4}, {1, "48", 5},
    {2, "ALL", 0}, {2, "FIRST", 1}, {2, "MIDDLE", 2}, {2, "LAST", 3}, {2, "RANDOM", 4},
    {3, "NONE", 0}, {3, "LINEAR", 1}, {3, "AL", 2}, {3, "DRR", 3}, {3, "GD", 4},
    {4, "NONE", 0}, {4, "RLE", 1}, {4, "ZIP", 1}, {4, "PIZ", 2}, {4, "PXR24", 3}, {4, "B44", 4},
    {4, "ZLIB1", 1}, {4, "ZLIB6", 2}, {4, "ZLIB9", 3}, {4, "CCITTFAX3", 1}, {4, "CCITTFAX4", 2},
    {4, "PACKBITS", 3}, {4, "DEFLATE", 4}, {4, "ADOBEDEFLATE", 5}, {4, "LZW", 6}, {4, "JPEG", 7},
    {4, "LOGLUV", 8},
    {5, "AUTO", 0}, {5, "EXACT", 1},
    {6, "RGB", 0}, {6, "CMYK", 1}, {6, "LAB", 2},
    {7, "NONE", 0}, {7, "LOW", 1}, {7, "MEDIUM", 2}, {7, "HIGH", 3},
    {8, "STANDARD", 0}, {8, "SIMPLE", 1}, {8, "OPTIMIZED", 2}, {8, "PROGRESSIVE", 3},
    {9, "SIMPLE", 0}, {9, "ADVANCED", 1},
    {10, "PIXELS", 0}, {10, "PERCENT", 1},
    {11, "ALLIMAGES", 0}, {11, "LARGEIMAGES", 1},
    {12, "BOX", 0}, {12, "BILINEAR", 1}, {12, "BSPLINE", 2}, {12, "BICUBIC", 3},
    {12, "CATMULLROM", 4}, {12, "LANCZOS", 5},
    {13, "NONE", 0}, {13, "SOLID", 1},
    {14, "NONE", 0}, {14, "TEXT", 1}, {14, "IMAGE", 2},
    {15, "REGULAR", 0}, {15, "BOLD", 1}, {15, "ITALIC", 2}, {15, "BOLDITALIC", 3},
    {16, "NONE", 0}, {16, "UNDERLINE", 1}, {16, "STRIKETHROUGHT", 2},
    {17, "LEFT", 0}, {17, "CENTER", 1}, {17, "RIGHT", 2},
    {18, "IMAGE", 0}, {18, "FRAME", 1},
    {19, "TOPLEFT", 0}, {19, "TOPCENTER", 1}, {19, "TOPRIGHT", 2}, {19, "MIDDLELEFT", 3},
    {19, "MIDDLECENTER", 4}, {19, "MIDDLERIGHT", 5}, {19, "BOTTOMLEFT", 6},
    {19, "BOTTOMCENTER", 7}, {19, "BOTTOMRIGHT", 8},
    {20, "FIXED", 0},
    {21, "CURRENT", 0}, {21, "ORIGINAL", 1}, {21, "CUSTOM", 2},
};

bool IsDisplayOnly(int vocabulary) { return vocabulary == 13 || vocabulary == 14; }

}  // namespace

ConversionSettings& Settings() {
    static ConversionSettings settings;
    return settings;
}

void StoreInteger(ConversionSettings& s, FieldRef field, long long value) {
    std::visit(
        [&](auto member) {
            using T = std::remove_reference_t<decltype(s.*member)>;
            if constexpr (std::is_same_v<T, std::string>) {
                s.*member = std::to_string(value);
            } else if constexpr (std::is_same_v<T, float>) {
                s.*member = static_cast<float>(value);
            } else {
                // Wraps like a C store: an 8-bit field keeps the low 8 bits.
                s.*member = static_cast<T>(static_cast<uint32_t>(value));
            }
        },
        field);
}

int32_t CenteredX(int32_t width, int32_t fallback) {
    auto screen = PrimaryScreenSize();
    if (!screen || screen->width <= width) return fallback;
    return (screen->width - width) / 2;
}

int32_t CenteredY(int32_t height, int32_t fallback) {
    auto screen = PrimaryScreenSize();
    if (!screen || screen->height <= height) return fallback;
    return (screen->height - height) / 2;
}

void ResetSettings(bool commandLineMode) {
    ConversionSettings& s = Settings();
    std::string configPath = s.ConfigPath;  // a process value, not a setting
    s = ConversionSettings{};
    s.ConfigPath = configPath;
    s.UpdateDate = NowLocalSeconds();
    s.WindowX = CenteredX(s.WindowWidth, 100);
    s.WindowY = CenteredY(s.WindowHeight, 100);
    s.InputFormat = InputFormatList().front();
    s.OutputFormat = OutputFormatList().front();
    s.KeepAspectRatio = commandLineMode ? 0 : 1;
    s.CustomTimestamp = NowLocalSeconds();
}

int8_t TokenToValue(int vocabulary, const std::string& token) {
    if (IsDisplayOnly(vocabulary)) return 0;
    std::string upper = ToUpper(token);
    for (const TokenRow& row : kTokens)
        if (row.vocabulary == vocabulary && upper == row.token) return row.value;
    return 0;
}

std::string ValueToToken(int vocabulary, int32_t value) {
    for (const TokenRow& row : kTokens)
        if (row.vocabulary == vocabulary && row.value == value) return ToLower(row.token);
    return {};
}

bool IsOutputFormat(const std::string& extension) {
    for (const std::string& e : OutputFormatList())
        if (e == extension) return true;
    return false;
}

bool IsAllowedBpp(const std::string& extension, int32_t bpp) {
    if (bpp == 0) return true;
    std::string depths = OutputDepths(extension);
    if (depths.empty()) return false;
    for (const std::string& entry : Split(depths, ','))
        if (LeadingInteger(entry) == bpp) return true;
    return false;
}

}  // namespace vantor
