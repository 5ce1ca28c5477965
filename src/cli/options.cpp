#include "cli/options.h"

#include <cctype>
#include <charconv>
#include <optional>
#include <span>
#include <type_traits>

#include "core/ini.h"
#include "core/settings.h"
#include "core/state.h"
#include "platform/text.h"

namespace vantor {
namespace {

using CS = ConversionSettings;

constexpr const char* kIncorrectParameters = "Incorrect number of parameters";
constexpr const char* kInvalidProfile = "Invalid profile file";

enum class ValueKind {
    Text,          // quoted pieces are joined back, then quotes removed
    TextUnjoined,  // quotes removed, never joined
    Integer,
    Decimal,
    Token,
    Flag,  // presence alone sets the field
};

// Where a value goes when it is not a settings field.
enum class Target {
    Setting,
    InputPath,
    OutputFolder,
    OutputExtension,
    Profile,
    Debug,
    Quiet,
    Pause
};

enum class Scope { Everywhere, CommandLineOnly, ProfileOnly };

struct OptionRow {
    const char* name;  // upper case
    const char* shortName = nullptr;
    ValueKind kind = ValueKind::Integer;
    FieldRef field = static_cast<int32_t CS::*>(nullptr);
    int vocabulary = -1;
    std::optional<FieldRef> companion = std::nullopt;  // switched on with the option
    int8_t companionValue = 1;
    int8_t flagValue = 1;
    Target target = Target::Setting;
    Scope scope = Scope::Everywhere;
    const char* profileTrim = " ";  // what a profile value of a text option is trimmed of
};

using K = ValueKind;

// The whole option table. The help text shows a few of these in lower case.
// clang-format off
const OptionRow kOptions[] = {
    {.name = "--INPUT", .shortName = "-I", .kind = K::Text, .target = Target::InputPath,
     .scope = Scope::CommandLineOnly},
    {.name = "--OUTPUT", .shortName = "-O", .kind = K::Text, .target = Target::OutputFolder,
     .scope = Scope::CommandLineOnly},
    {.name = "--CONVERSION", .shortName = "-C", .kind = K::TextUnjoined,
     .target = Target::OutputExtension, .scope = Scope::CommandLineOnly},

    {.name = "--DDS-LOAD-AS", .kind = K::Token, .field = &CS::DdsLoadAs,
     .vocabulary = VocDdsLoadAs},
    {.name = "--RAW-LOAD-AS", .kind = K::Token, .field = &CS::RawLoadAs,
     .vocabulary = VocRawLoadAs},
    {.name = "--GIF-FRAME-LOADING", .kind = K::Token, .field = &CS::GifFrameLoading,
     .vocabulary = VocFrameLoading},
    {.name = "--ICO-FRAME-LOADING", .kind = K::Token, .field = &CS::IcoFrameLoading,
     .vocabulary = VocFrameLoading},
    {.name = "--TIFF-FRAME-LOADING", .kind = K::Token, .field = &CS::TiffFrameLoading,
     .vocabulary = VocFrameLoading},
    {.name = "--RAW-HEADER-SIZE", .field = &CS::RawHeaderSize},
    {.name = "--RAW-WIDTH", .field = &CS::RawImageWidth},
    {.name = "--RAW-HEIGHT", .field = &CS::RawImageHeight},
    {.name = "--RAW-TONE-MAPPING", .kind = K::Token, .field = &CS::RawToneMapping,
     .vocabulary = VocToneMapping},

    {.name = "--BMP-BPP", .field = &CS::BmpBpp},
    {.name = "--DDS-BPP", .field = &CS::DdsBpp},
    {.name = "--EXR-BPP", .field = &CS::ExrBpp},
    {.name = "--GIF-BPP", .field = &CS::GifBpp},
    {.name = "--HDR-BPP", .field = &CS::HdrBpp},
    {.name = "--ICO-BPP", .field = &CS::IcoBpp},
    {.name = "--J2K-BPP", .field = &CS::J2kBpp},
    {.name = "--JNG-BPP", .field = &CS::JngBpp},
    {.name = "--JP2-BPP", .field = &CS::Jp2Bpp},
    {.name = "--JPG-BPP", .field = &CS::JpgBpp},
    {.name = "--JXR-BPP", .field = &CS::JxrBpp},
    {.name = "--PBM-BPP", .field = &CS::PbmBpp},
    {.name = "--PCX-BPP", .field = &CS::PcxBpp},
    {.name = "--PFM-BPP", .field = &CS::PfmBpp},
    {.name = "--PGM-BPP", .field = &CS::PgmBpp},
    {.name = "--PNG-BPP", .field = &CS::PngBpp},
    {.name = "--PPM-BPP", .field = &CS::PpmBpp},
    {.name = "--PSD-BPP", .field = &CS::PsdBpp},
    {.name = "--TGA-BPP", .field = &CS::TgaBpp},
    {.name = "--TIFF-BPP", .field = &CS::TiffBpp},
    {.name = "--WBMP-BPP", .field = &CS::WbmpBpp},
    {.name = "--WEBP-BPP", .field = &CS::WebpBpp},
    {.name = "--XPM-BPP", .field = &CS::XpmBpp},

    {.name = "--BMP-COMPRESSION", .kind = K::Token, .field = &CS::BmpCompression,
     .vocabulary = VocCompression},
    {.name = "--EXR-COMPRESSION", .kind = K::Token, .field = &CS::ExrCompression,
     .vocabulary = VocCompression},
    {.name = "--PNG-COMPRESSION", .kind = K::Token, .field = &CS::PngCompression,
     .vocabulary = VocCompression},
    {.name = "--TGA-COMPRESSION", .kind = K::Token, .field = &CS::TgaCompression,
     .vocabulary = VocCompression},
    {.name = "--TIFF-COMPRESSION", .kind = K::Token, .field = &CS::TiffCompression,
     .vocabulary = VocCompression},
    {.name = "--BMP-COLOR-TABLE", .kind = K::Token, .field = &CS::BmpColorTable,
     .vocabulary = VocColorTable},
    {.name = "--TIFF-COLOR-MODEL", .kind = K::Token, .field = &CS::TiffColorModel,
     .vocabulary = VocColorModel},
    {.name = "--JPG-QUALITY", .field = &CS::JpgQuality},
    {.name = "--JPG-CHROMA", .kind = K::Token, .field = &CS::JpgChroma, .vocabulary = VocJpgChroma},
    {.name = "--JPG-SAVE-AS", .kind = K::Token, .field = &CS::JpgSaveAs,
     .vocabulary = VocJpgSaveAs},
    {.name = "--PNG-INTERLACED", .kind = K::Flag, .field = &CS::PngInterlaced},

    {.name = "--ROTATION-TYPE", .kind = K::Token, .field = &CS::ImageRotationType,
     .vocabulary = VocRotationType},
    {.name = "--ROTATION", .field = &CS::ImageRotation, .companion = &CS::DoImageRotation},
    {.name = "--ROTATION-BACK-COLOR", .kind = K::Text, .field = &CS::ImageRotationBackColor},
    {.name = "--WIDTH", .field = &CS::ImageWidth, .companion = &CS::DoImageResize},
    {.name = "--HEIGHT", .field = &CS::ImageHeight, .companion = &CS::DoImageResize},
    {.name = "--WIDTH-UNIT", .kind = K::Token, .field = &CS::ImageWidthUnit,
     .vocabulary = VocSizeUnit},
    {.name = "--HEIGHT-UNIT", .kind = K::Token, .field = &CS::ImageHeightUnit,
     .vocabulary = VocSizeUnit},
    {.name = "--KEEP-ASPECT-RATIO", .kind = K::Flag, .field = &CS::KeepAspectRatio},
    {.name = "--RESIZE-TYPE", .kind = K::Token, .field = &CS::ImageResizeType,
     .vocabulary = VocResizeType},
    {.name = "--RESIZE-ALGORITHM", .kind = K::Token, .field = &CS::ImageResizeAlgorithm,
     .vocabulary = VocResizeAlgorithm},
    {.name = "--FLIP-HORIZONTAL", .kind = K::Flag, .field = &CS::DoImageFlipHorizontal},
    {.name = "--FLIP-VERTICAL", .kind = K::Flag, .field = &CS::DoImageFlipVertical},

    {.name = "--BRIGHTNESS", .field = &CS::ImageBrightness,
     .companion = &CS::DoImageColorCorrection},
    {.name = "--CONTRAST", .field = &CS::ImageContrast, .companion = &CS::DoImageColorCorrection},
    {.name = "--GAMMA", .kind = K::Decimal, .field = &CS::ImageGamma,
     .companion = &CS::DoImageColorCorrection},
    {.name = "--INVERT", .kind = K::Flag, .field = &CS::ImageInvert,
     .companion = &CS::DoImageColorCorrection},
    {.name = "--GREYSCALE", .kind = K::Flag, .field = &CS::DoImageGreyscale},
    {.name = "--THRESHOLD", .field = &CS::ImageThreshold, .companion = &CS::DoImageThreshold},

    {.name = "--FR-SOLID-LEFT", .field = &CS::SolidLeft, .companion = &CS::DoFrame},
    {.name = "--FR-SOLID-RIGHT", .field = &CS::SolidRight, .companion = &CS::DoFrame},
    {.name = "--FR-SOLID-TOP", .field = &CS::SolidTop, .companion = &CS::DoFrame},
    {.name = "--FR-SOLID-BOTTOM", .field = &CS::SolidBottom, .companion = &CS::DoFrame},
    {.name = "--FR-SOLID-LEFT-COLOR", .kind = K::Text, .field = &CS::SolidLeftColor},
    {.name = "--FR-SOLID-RIGHT-COLOR", .kind = K::Text, .field = &CS::SolidRightColor},
    {.name = "--FR-SOLID-TOP-COLOR", .kind = K::Text, .field = &CS::SolidTopColor},
    {.name = "--FR-SOLID-BOTTOM-COLOR", .kind = K::Text, .field = &CS::SolidBottomColor},
    // Profiles have always called the frame opacity by its watermark-style name.
    {.name = "--FR-SOLID-OPACITY", .field = &CS::SolidOpacity, .scope = Scope::CommandLineOnly},
    {.name = "--WM-SOLID-OPACITY", .field = &CS::SolidOpacity, .scope = Scope::ProfileOnly},

    {.name = "--WM-TEXT", .kind = K::Text, .field = &CS::WmText, .companion = &CS::DoWatermark,
     .companionValue = 1},
    {.name = "--WM-FONT", .kind = K::Text, .field = &CS::WmFont},
    {.name = "--WM-FONT-SIZE", .field = &CS::WmFontSize},
    {.name = "--WM-FONT-LEADING", .field = &CS::WmFontLeading},
    {.name = "--WM-FONT-COLOR", .kind = K::Text, .field = &CS::WmFontColor},
    {.name = "--WM-BACK-COLOR", .kind = K::Text, .field = &CS::WmBackColor},
    {.name = "--WM-FONT-STYLE", .kind = K::Token, .field = &CS::WmFontStyle,
     .vocabulary = VocFontStyle},
    {.name = "--WM-FONT-EFFECT", .kind = K::Token, .field = &CS::WmFontEffect,
     .vocabulary = VocFontEffect},
    {.name = "--WM-TEXT-ANTIALIASING", .kind = K::Flag, .field = &CS::WmTextAntialiasing},
    {.name = "--WM-TEXT-ALIGNMENT", .kind = K::Token, .field = &CS::WmTextAlignment,
     .vocabulary = VocTextAlignment},
    {.name = "--WM-TEXT-PADDING", .field = &CS::WmTextPadding},
    {.name = "--WM-TEXT-OPACITY", .field = &CS::WmTextOpacity},
    {.name = "--WM-BACK-OPACITY", .field = &CS::WmBackOpacity},
    {.name = "--WM-TEXT-X-OFFSET", .field = &CS::WmTextXOffset},
    {.name = "--WM-TEXT-Y-OFFSET", .field = &CS::WmTextYOffset},
    {.name = "--WM-TEXT-ROTATION", .field = &CS::WmTextRotation},
    {.name = "--WM-TEXT-BOUNDARY", .kind = K::Token, .field = &CS::WmTextBoundary,
     .vocabulary = VocBoundary},
    {.name = "--WM-IMAGE-BOUNDARY", .kind = K::Token, .field = &CS::WmImageBoundary,
     .vocabulary = VocBoundary},
    {.name = "--WM-TEXT-POSITION", .kind = K::Token, .field = &CS::WmTextPosition,
     .vocabulary = VocPosition},
    {.name = "--WM-IMAGE-POSITION", .kind = K::Token, .field = &CS::WmImagePosition,
     .vocabulary = VocPosition},
    {.name = "--WM-TEXT-SIZE", .kind = K::Token, .field = &CS::WmTextSize, .vocabulary = VocWmSize},
    {.name = "--WM-IMAGE-SIZE", .kind = K::Token, .field = &CS::WmImageSize,
     .vocabulary = VocWmSize},
    {.name = "--WM-IMAGE", .kind = K::Text, .field = &CS::WmImage, .companion = &CS::DoWatermark,
     .companionValue = 2},
    {.name = "--WM-IMAGE-GREYSCALE", .kind = K::Flag, .field = &CS::WmImageGreyscale},
    {.name = "--WM-IMAGE-OPACITY", .field = &CS::WmImageOpacity},
    {.name = "--WM-IMAGE-X-OFFSET", .field = &CS::WmImageXOffset},
    {.name = "--WM-IMAGE-Y-OFFSET", .field = &CS::WmImageYOffset},
    {.name = "--WM-IMAGE-ROTATION", .field = &CS::WmImageRotation},

    {.name = "--FILENAME-MASK", .kind = K::Text, .field = &CS::FilenameMask, .profileTrim = "\""},
    {.name = "--FILE-TIMESTAMP", .kind = K::Token, .field = &CS::FileTimestamp,
     .vocabulary = VocFileTimestamp},
    {.name = "--FILE-TIMESTAMP-CUSTOM", .field = &CS::CustomTimestamp},
    {.name = "--NO-SUBFOLDERS", .kind = K::Flag, .field = &CS::KeepSubfolders, .flagValue = 0},

    {.name = "--PROFILE", .kind = K::Text, .target = Target::Profile,
     .scope = Scope::CommandLineOnly},
    {.name = "--DEBUG", .shortName = "-D", .kind = K::Flag, .target = Target::Debug,
     .scope = Scope::CommandLineOnly},
    {.name = "--QUIET", .shortName = "-Q", .kind = K::Flag, .target = Target::Quiet,
     .scope = Scope::CommandLineOnly},
    {.name = "--PAUSE", .shortName = "-P", .kind = K::Flag, .target = Target::Pause,
     .scope = Scope::CommandLineOnly},
};
// clang-format on

enum class Source { CommandLine, Profile };

// The row of an upper-cased name; a profile knows long names only.
const OptionRow* FindOption(const std::string& name, Source source) {
    if (name.empty()) return nullptr;
    for (const OptionRow& row : kOptions) {
        const Scope excluded =
            source == Source::CommandLine ? Scope::ProfileOnly : Scope::CommandLineOnly;
        if (row.scope == excluded) continue;
        if (name == row.name) return &row;
        if (source == Source::CommandLine && row.shortName && name == row.shortName) return &row;
    }
    return nullptr;
}

std::string Parameter(const std::vector<std::string>& parameters, size_t index) {
    return index < parameters.size() ? Trim(parameters[index], " ") : std::string();
}

// Rebuilds a quoted value that reached us split at its spaces; `index` moves
// past every parameter taken.
std::string JoinQuotedPieces(const std::vector<std::string>& parameters, std::string value,
                             size_t& index) {
    // A lone quote both opens and closes.
    if (!StartsWith(value, "\"") || value.size() == 1) return value;
    while (!EndsWith(value, "\"") && index + 1 < parameters.size()) {
        ++index;
        value += " " + OptionValue(parameters, index);
    }
    return value;
}

template <typename T>
void StoreField(FieldRef field, const T& value) {
    std::visit(
        [&](auto member) {
            using F = std::remove_reference_t<decltype(Settings().*member)>;
            if constexpr (std::is_same_v<F, std::string> && std::is_same_v<T, std::string>) {
                Settings().*member = value;
            } else if constexpr (std::is_same_v<F, float> && std::is_same_v<T, float>) {
                Settings().*member = value;
            } else if constexpr (!std::is_same_v<F, std::string> && std::is_integral_v<T>) {
                StoreInteger(Settings(), member, value);
            }
        },
        field);
}

// Stores one value by its row; the text has already been fetched, joined
// and unquoted. Returns an error text, empty on success.
std::string ApplyOption(const OptionRow& row, const std::string& value, CommandLineFlags* flags) {
    ConversionState& state = State();
    switch (row.target) {
        case Target::InputPath:
            state.InputFolder = value;
            state.CommandLineInput = true;
            return {};
        case Target::OutputFolder:
            state.OutputFolder = value;
            return {};
        case Target::OutputExtension:
            state.OutputExtension = value;
            return {};
        case Target::Profile:
            return ReadCommandLineProfile(value) ? std::string() : kInvalidProfile;
        case Target::Debug:
            state.CommandLineMode = "DEBUG";
            return {};
        case Target::Quiet:
            if (flags) flags->quiet = true;
            return {};
        case Target::Pause:
            if (flags) flags->pause = true;
            return {};
        case Target::Setting:
            break;
    }
    switch (row.kind) {
        case K::Text:
        case K::TextUnjoined:
            StoreField(row.field, value);
            break;
        case K::Integer:
            StoreField(row.field, static_cast<long long>(OptionInteger(value)));
            break;
        case K::Decimal:
            StoreField(row.field, OptionDecimal(value));
            break;
        case K::Token:
            StoreField(row.field,
                       static_cast<long long>(TokenToValue(row.vocabulary, Trim(value, " "))));
            break;
        case K::Flag:
            StoreField(row.field, static_cast<long long>(row.flagValue));
            break;
    }
    if (row.companion) StoreInteger(Settings(), *row.companion, row.companionValue);
    return {};
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

}  // namespace

std::string OptionName(const std::vector<std::string>& parameters, size_t index) {
    const std::string p = Parameter(parameters, index);
    if (StartsWith(p, "--")) return ToUpper(p.substr(0, p.find('=')));
    if (StartsWith(p, "-")) return ToUpper(p);
    return {};
}

std::string OptionValue(const std::vector<std::string>& parameters, size_t index) {
    const std::string p = Parameter(parameters, index);
    if (StartsWith(p, "--")) {
        const size_t eq = p.find('=', 2);
        if (eq != std::string::npos) return p.substr(eq + 1);
    }
    return p;
}

int32_t OptionInteger(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i < text.size() && text[i] == '%') {
        base = 2;
        ++i;
    }
    // Kept to 32 bits as it goes, like the field it ends in; huge inputs wrap
    // instead of overflowing.
    uint32_t value = 0;
    for (; i < text.size() && DigitValue(text[i]) < base; ++i)
        value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(DigitValue(text[i]));
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

float OptionDecimal(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Only a number written with digits counts: no "inf" or "nan" sneaks in.
    if (i >= text.size() || !(std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '.'))
        return 0.0f;
    double value = 0.0;
    auto result = std::from_chars(text.data() + i, text.data() + text.size(), value,
                                  std::chars_format::fixed);
    if (result.ec != std::errc()) return 0.0f;
    return static_cast<float>(negative ? -value : value);
}

std::string ParseCommandLine(const std::vector<std::string>& parameters, CommandLineFlags& flags) {
    for (size_t i = 0; i < parameters.size(); ++i) {
        const OptionRow* row = FindOption(OptionName(parameters, i), Source::CommandLine);
        if (!row) continue;  // unknown names and stray words are skipped quietly

        std::string value;
        if (row->kind != K::Flag) {
            if (row->shortName) {
                // "-i path" takes the next parameter; "--input=path" its own value.
                if (!StartsWith(Parameter(parameters, i), "--")) ++i;
                value = OptionValue(parameters, i);
                if (value.empty() || StartsWith(value, "-")) return kIncorrectParameters;
            } else {
                value = OptionValue(parameters, i);
                if (value.empty() || StartsWith(value, "--")) return kIncorrectParameters;
            }
            if (row->kind == K::Text) value = JoinQuotedPieces(parameters, value, i);
            if (row->kind == K::Text || row->kind == K::TextUnjoined) value = Trim(value, "\"");
        }
        std::string error = ApplyOption(*row, value, &flags);
        if (!error.empty()) return error;
    }
    return {};
}

bool ReadCommandLineProfile(const std::string& path) {
    if (path.empty()) return false;
    IniDocument document;
    if (!LoadIniFile(path, document)) return false;
    const IniGroup* group = document.FindGroup("CLI");
    if (!group) return true;
    for (const auto& [key, rawValue] : group->entries) {
        const OptionRow* row = FindOption(ToUpper(key), Source::Profile);
        if (!row) continue;
        std::string value = rawValue;
        if (row->kind == K::Text || row->kind == K::TextUnjoined)
            value = Trim(value, row->profileTrim);
        (void)ApplyOption(*row, value, nullptr);  // a profile cannot name a profile
    }
    return true;
}

}  // namespace vantor
