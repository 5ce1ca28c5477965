#include "core/config.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <vector>

#include "core/ini.h"
#include "core/settings.h"
#include "platform/file_write.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vantor {
namespace {

// When a key is written. Every key of the table is read, whatever its rule.
enum class Written {
    Always,
    WithWindowPosition,  // only while SaveWindowPosition is on
    ForListedFormat,     // only when `extension` is in the group's format list
    Never,               // read when present, never written back
};

struct ConfigKey {
    const char* group;
    const char* key;
    FieldRef field;
    Written written = Written::Always;
    const char* extension = "";
};

using S = ConversionSettings;
constexpr Written kWindow = Written::WithWindowPosition;
constexpr Written kFormat = Written::ForListedFormat;
constexpr Written kNever = Written::Never;

// Groups and keys in the order they are written; loading and saving both
// walk this table.
const ConfigKey kKeys[] = {
    {"General", "CFG", &S::ConfigVersion},
    {"General", "Language", &S::Language},
    {"General", "Update Range", &S::UpdateRange},
    {"General", "Update Date", &S::UpdateDate},
    {"General", "Save Window Position", &S::SaveWindowPosition},

    {"Window", "IsMaximized", &S::IsMaximized, kWindow},
    {"Window", "Width", &S::WindowWidth, kWindow},
    {"Window", "Height", &S::WindowHeight, kWindow},
    {"Window", "X", &S::WindowX, kWindow},
    {"Window", "Y", &S::WindowY, kWindow},
    {"Window", "Hide Passwords", &S::HidePasswords, kNever},
    {"Window", "Show Single Password", &S::ShowSinglePassword, kNever},
    {"Window", "Show Password List", &S::ShowPasswordList, kNever},
    {"Window", "Show Character Set", &S::ShowCharacterSet, kNever},
    {"Window", "Show Advanced Options", &S::ShowAdvancedOptions, kNever},

    {"Interface", "UI Theme", &S::UiTheme},
    {"Interface", "UI Size", &S::UiSize},

    {"Input", "Format", &S::InputFormat},
    {"Input", "DDS Load As", &S::DdsLoadAs, kFormat, "dds"},
    {"Input", "GIF Frame Loading", &S::GifFrameLoading, kFormat, "gif"},
    {"Input", "ICO Frame Loading", &S::IcoFrameLoading, kFormat, "ico"},
    {"Input", "RAW Load As", &S::RawLoadAs, kFormat, "raw"},
    {"Input", "RAW Header Size", &S::RawHeaderSize, kFormat, "raw"},
    {"Input", "RAW Image Width", &S::RawImageWidth, kFormat, "raw"},
    {"Input", "RAW Image Height", &S::RawImageHeight, kFormat, "raw"},
    {"Input", "RAW Tone Mapping", &S::RawToneMapping, kFormat, "raw"},
    {"Input", "TIFF Frame Loading", &S::TiffFrameLoading, kFormat, "tiff"},

    {"Output", "Format", &S::OutputFormat},
    {"Output", "BMP BPP", &S::BmpBpp, kFormat, "bmp"},
    {"Output", "BMP Compression", &S::BmpCompression, kFormat, "bmp"},
    {"Output", "BMP Color Table", &S::BmpColorTable, kFormat, "bmp"},
    {"Output", "DDS BPP", &S::DdsBpp, kFormat, "dds"},
    {"Output", "EXR BPP", &S::ExrBpp, kFormat, "exr"},
    {"Output", "EXR Compression", &S::ExrCompression, kFormat, "exr"},
    {"Output", "GIF BPP", &S::GifBpp, kFormat, "gif"},
    {"Output", "HDR BPP", &S::HdrBpp, kFormat, "hdr"},
    {"Output", "ICO BPP", &S::IcoBpp, kFormat, "ico"},
    {"Output", "J2K BPP", &S::J2kBpp, kFormat, "j2k"},
    {"Output", "JNG BPP", &S::JngBpp, kFormat, "jng"},
    {"Output", "JP2 BPP", &S::Jp2Bpp, kFormat, "jp2"},
    {"Output", "JPG BPP", &S::JpgBpp, kFormat, "jpg"},
    {"Output", "JPG Quality", &S::JpgQuality, kFormat, "jpg"},
    {"Output", "JPG Chroma", &S::JpgChroma, kFormat, "jpg"},
    {"Output", "JPG Save As", &S::JpgSaveAs, kFormat, "jpg"},
    {"Output", "JXR BPP", &S::JxrBpp, kFormat, "jxr"},
    {"Output", "PBM BPP", &S::PbmBpp, kFormat, "pbm"},
    {"Output", "PCX BPP", &S::PcxBpp, kFormat, "pcx"},
    {"Output", "PFM BPP", &S::PfmBpp, kFormat, "pfm"},
    {"Output", "PGM BPP", &S::PgmBpp, kFormat, "pgm"},
    {"Output", "PNG BPP", &S::PngBpp, kFormat, "png"},
    {"Output", "PNG Compression", &S::PngCompression, kFormat, "png"},
    {"Output", "PNG Interlaced", &S::PngInterlaced, kFormat, "png"},
    {"Output", "PPM BPP", &S::PpmBpp, kFormat, "ppm"},
    {"Output", "PSD BPP", &S::PsdBpp, kFormat, "psd"},
    {"Output", "TGA BPP", &S::TgaBpp, kFormat, "tga"},
    {"Output", "TGA Compression", &S::TgaCompression, kFormat, "tga"},
    {"Output", "TIFF BPP", &S::TiffBpp, kFormat, "tiff"},
    {"Output", "TIFF Compression", &S::TiffCompression, kFormat, "tiff"},
    {"Output", "TIFF Color Model", &S::TiffColorModel, kFormat, "tiff"},
    {"Output", "WBMP BPP", &S::WbmpBpp, kFormat, "wbmp"},
    {"Output", "WEBP BPP", &S::WebpBpp, kFormat, "webp"},
    {"Output", "XPM BPP", &S::XpmBpp, kFormat, "xpm"},

    {"Transform", "Do Image Rotation", &S::DoImageRotation},
    {"Transform", "Image Rotation Type", &S::ImageRotationType},
    {"Transform", "Image Rotation", &S::ImageRotation},
    {"Transform", "Image Rotation Back Color", &S::ImageRotationBackColor},
    {"Transform", "Do Image Resize", &S::DoImageResize},
    {"Transform", "Image Width", &S::ImageWidth},
    {"Transform", "Image Width Unit", &S::ImageWidthUnit},
    {"Transform", "Image Height", &S::ImageHeight},
    {"Transform", "Image Height Unit", &S::ImageHeightUnit},
    {"Transform", "Keep Aspect Ratio", &S::KeepAspectRatio},
    {"Transform", "Image Resize Type", &S::ImageResizeType},
    {"Transform", "Image Resize Algorithm", &S::ImageResizeAlgorithm},
    {"Transform", "Do Image Flip Horizontal", &S::DoImageFlipHorizontal},
    {"Transform", "Do Image Flip Vertical", &S::DoImageFlipVertical},

    {"Adjustment", "Do Image Color Correction", &S::DoImageColorCorrection},
    {"Adjustment", "Image Brightness", &S::ImageBrightness},
    {"Adjustment", "Image Contrast", &S::ImageContrast},
    {"Adjustment", "Image Gamma", &S::ImageGamma},
    {"Adjustment", "Image Invert", &S::ImageInvert},
    {"Adjustment", "Do Image Greyscale", &S::DoImageGreyscale},
    {"Adjustment", "Do Image Threshold", &S::DoImageThreshold},
    {"Adjustment", "Image Threshold", &S::ImageThreshold},

    {"Frame", "Do Frame", &S::DoFrame},
    {"Frame", "Solid Left", &S::SolidLeft},
    {"Frame", "Solid Right", &S::SolidRight},
    {"Frame", "Solid Top", &S::SolidTop},
    {"Frame", "Solid Bottom", &S::SolidBottom},
    {"Frame", "Solid Left Color", &S::SolidLeftColor},
    {"Frame", "Solid Right Color", &S::SolidRightColor},
    {"Frame", "Solid Top Color", &S::SolidTopColor},
    {"Frame", "Solid Bottom Color", &S::SolidBottomColor},
    {"Frame", "Solid Opacity", &S::SolidOpacity},

    {"Watermark", "Do Watermark", &S::DoWatermark},
    {"Watermark", "Text", &S::WmText},
    {"Watermark", "Fonts", &S::WmFonts},
    {"Watermark", "Font", &S::WmFont},
    {"Watermark", "Font Size", &S::WmFontSize},
    {"Watermark", "Font Leading", &S::WmFontLeading},
    {"Watermark", "Font Colors", &S::WmFontColors},
    {"Watermark", "Font Color", &S::WmFontColor},
    {"Watermark", "Font Style", &S::WmFontStyle},
    {"Watermark", "Font Effect", &S::WmFontEffect},
    {"Watermark", "Text Antialiasing", &S::WmTextAntialiasing},
    {"Watermark", "Text Alignment", &S::WmTextAlignment},
    {"Watermark", "Text Padding", &S::WmTextPadding},
    {"Watermark", "Text Opacity", &S::WmTextOpacity},
    {"Watermark", "Back Colors", &S::WmBackColors},
    {"Watermark", "Back Color", &S::WmBackColor},
    {"Watermark", "Back Opacity", &S::WmBackOpacity},
    {"Watermark", "Text Boundary", &S::WmTextBoundary},
    {"Watermark", "Text Position", &S::WmTextPosition},
    {"Watermark", "Text X Offset", &S::WmTextXOffset},
    {"Watermark", "Text Y Offset", &S::WmTextYOffset},
    {"Watermark", "Text Rotation", &S::WmTextRotation},
    {"Watermark", "Text Size", &S::WmTextSize},
    {"Watermark", "Text Scale", &S::WmTextScale},
    {"Watermark", "Image", &S::WmImage},
    {"Watermark", "Image Greyscale", &S::WmImageGreyscale},
    {"Watermark", "Image Opacity", &S::WmImageOpacity},
    {"Watermark", "Image Boundary", &S::WmImageBoundary},
    {"Watermark", "Image Position", &S::WmImagePosition},
    {"Watermark", "Image X Offset", &S::WmImageXOffset},
    {"Watermark", "Image Y Offset", &S::WmImageYOffset},
    {"Watermark", "Image Rotation", &S::WmImageRotation},
    {"Watermark", "Image Size", &S::WmImageSize},
    {"Watermark", "Image Scale", &S::WmImageScale},

    {"Advanced", "Filename Mask", &S::FilenameMask},
    {"Advanced", "File Timestamp", &S::FileTimestamp},
    {"Advanced", "Custom Timestamp", &S::CustomTimestamp},
    {"Advanced", "Out Folders History", &S::OutFoldersHistory},
    {"Advanced", "Out Folders Number", &S::OutFoldersNumber},
    {"Advanced", "Keep Subfolders", &S::KeepSubfolders},

    {"File", "Recent Out Folders", &S::RecentOutFolders},
    {"File", "Recent Files", &S::RecentFiles},
    {"File", "TxtFields", &S::TxtFields, kNever},
    {"File", "CsvDelimiter", &S::CsvDelimiter, kNever},

    {"Privacy", "Clean Recent Files", &S::CleanRecentFiles},
};

constexpr int32_t kLayoutVersion = 17;
constexpr const char* kLineEnd = "\r\n";

// The format list whose extensions choose the format keys of a group.
const std::vector<std::string>* FormatListOf(std::string_view group) {
    if (group == "Input") return &InputFormatList();
    if (group == "Output") return &OutputFormatList();
    return nullptr;
}

// ---- loading

void StoreValue(ConversionSettings& s, FieldRef field, const std::string& value) {
    std::visit(
        [&](auto member) {
            using T = std::remove_reference_t<decltype(s.*member)>;
            if constexpr (std::is_same_v<T, std::string>) {
                s.*member = value;
            } else if constexpr (std::is_same_v<T, float>) {
                s.*member = IniFloat(value);
            } else {
                StoreInteger(s, member, IniInteger(value));
            }
        },
        field);
}

void ReadKeys(const IniDocument& document, ConversionSettings& s) {
    // Defaults that differ from a reset when the file exists but lacks the key.
    s.ConfigVersion = 0;
    s.WindowX = 100;
    s.WindowY = 100;
    for (const ConfigKey& row : kKeys)
        if (auto value = document.Value(row.group, row.key)) StoreValue(s, row.field, *value);
}

void UpgradeOlderLayouts(ConversionSettings& s) {
    if (s.ConfigVersion < 11 && s.FilenameMask.find("%ext%") == std::string::npos)
        s.FilenameMask += ".%ext%";
    if (s.ConfigVersion < 14 && s.RawLoadAs != 0) s.RawLoadAs += 2;
}

void MapDelimiterTokens(ConversionSettings& s) {
    struct Token {
        const char* token;
        const char* text;
    };
    static const Token kTokens[] = {{"tab", "\t"}, {"space", " "}, {"crlf", "\r\n"}};
    // One after the other on the current value, as older products did.
    for (const Token& t : kTokens)
        if (ToLower(s.CsvDelimiter) == t.token) s.CsvDelimiter = t.text;
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// ---- saving

std::string FormatGamma(float value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "+Infinity" : "-Infinity";
    // Six decimals like "%f", with a "." whatever locale the window set.
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value),
                                   std::chars_format::fixed, 6);
    return ec == std::errc() ? std::string(buf, end) : std::string("NaN");
}

std::string FormatValue(const ConversionSettings& s, FieldRef field) {
    return std::visit(
        [&](auto member) -> std::string {
            using T = std::remove_cvref_t<decltype(s.*member)>;
            if constexpr (std::is_same_v<T, std::string>) {
                // A line break would end the line and let the rest of the text
                // pose as keys or groups, so it is left out.
                std::string text = s.*member;
                std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
                return text;
            } else if constexpr (std::is_same_v<T, float>) {
                return FormatGamma(s.*member);
            } else {
                return std::to_string(static_cast<int>(s.*member));
            }
        },
        field);
}

bool IsWritten(const ConfigKey& row, const ConversionSettings& s) {
    switch (row.written) {
        case Written::Always:
            return true;
        case Written::WithWindowPosition:
            return s.SaveWindowPosition != 0;
        case Written::ForListedFormat:  // written by the format loop instead
        case Written::Never:
            return false;
    }
    return false;
}

void AppendLine(std::string& text, const ConfigKey& row, const ConversionSettings& s) {
    text += row.key;
    text += " = ";
    text += FormatValue(s, row.field);
    text += kLineEnd;
}

std::string ConfigText(const ConversionSettings& s) {
    std::string text = "\xEF\xBB\xBF";
    text += kLineEnd;
    const size_t count = std::size(kKeys);
    for (size_t first = 0; first < count;) {
        std::string_view group = kKeys[first].group;
        size_t end = first;
        while (end < count && group == kKeys[end].group) ++end;

        text += "[" + std::string(group) + "]" + kLineEnd;
        for (size_t i = first; i < end; ++i)
            if (IsWritten(kKeys[i], s)) AppendLine(text, kKeys[i], s);
        if (const auto* formats = FormatListOf(group)) {
            for (const std::string& extension : *formats)
                for (size_t i = first; i < end; ++i)
                    if (kKeys[i].written == Written::ForListedFormat &&
                        extension == kKeys[i].extension)
                        AppendLine(text, kKeys[i], s);
        }
        text += "; ";
        text += kLineEnd;
        first = end;
    }
    return text;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    // No HOME (a service, a stripped environment): the account's own entry.
    std::vector<char> buf(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buf.data(), buf.size(), &found) == 0 && found &&
        found->pw_dir)
        return found->pw_dir;
    return {};
}

}  // namespace

std::string PerUserFolder(const std::string& first, const std::string& second) {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base = xdg ? Trim(xdg, " ") : std::string();
    // A relative value is invalid by the XDG rules; fall back like an unset one.
    if (!StartsWith(base, "/")) {
        std::string home = Trim(HomeFolder(), " ");
        if (home.empty()) return {};
        base = WithTrailingSlash(home) + ".config";
    }
    base = WithTrailingSlash(base);
    // ~/.config itself may be missing on a fresh account.
    if (QueryPath(base).kind == PathInfo::Missing) (void)MakeFolderPath(base);
    std::string folder = base + first + "/";
    if (QueryPath(folder).kind == PathInfo::Missing) MakeFolder(folder);
    folder += second + "/";
    if (QueryPath(folder).kind == PathInfo::Missing) MakeFolder(folder);
    return folder;
}

std::string MakeConfigPath() {
    std::string folder = PerUserFolder("Tarnwell", "vantor");
    Settings().ConfigPath = folder.empty() ? std::string() : folder + "config.ini";
    return Settings().ConfigPath;
}

void LoadConfig() {
    ConversionSettings& s = Settings();
    IniDocument document;
    // Only a regular file: a pipe or device in its place must not hang or
    // flood the start-up.
    bool opened = IsRegularFile(s.ConfigPath) && LoadIniFile(s.ConfigPath, document);
    ResetSettings(false);
    if (opened) ReadKeys(document, s);
    UpgradeOlderLayouts(s);
    MapDelimiterTokens(s);
}

bool SaveConfig() {
    ConversionSettings& s = Settings();
    if (s.ConfigPath.empty()) return false;
    std::string folder = FolderPart(s.ConfigPath);
    if (!folder.empty() && !FolderExists(folder) && !MakeFolderPath(folder)) return false;
    // The number read served the upgrades at loading; the file is now in
    // the current layout.
    s.ConfigVersion = kLayoutVersion;
    return WriteFileAtomically(s.ConfigPath, ConfigText(s));
}

bool SaveConfigAtShutdown() {
    ConversionSettings& s = Settings();
    if (!s.OutFoldersHistory) s.RecentOutFolders.clear();
    return SaveConfig();
}

}  // namespace vantor
