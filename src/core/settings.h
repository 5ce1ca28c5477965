#pragma once
// The one process-wide record of every persistent setting, its defaults and
// the value vocabularies of its enumerated fields. Fields are stored in the
// order of the configuration file's keys.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "formats/catalogue.h"  // InputFormatList, OutputFormatList, OutputDepths

namespace vantor {

struct ConversionSettings {
    // General and window
    int32_t ConfigVersion = 17;
    std::string Language = "en";
    int32_t UpdateRange = 2;
    int32_t UpdateDate = 0;  // now, set by ResetSettings
    int8_t SaveWindowPosition = 1;
    int8_t IsMaximized = 0;
    int32_t WindowX = 100;  // centred by ResetSettings
    int32_t WindowY = 100;
    int32_t WindowWidth = 510;
    int32_t WindowHeight = 260;
    int8_t HidePasswords = 0;
    int8_t ShowSinglePassword = 1;
    int8_t ShowPasswordList = 1;
    int8_t ShowCharacterSet = 1;
    int8_t ShowAdvancedOptions = 1;
    std::string UiTheme = "handdrawn";
    int32_t UiSize = 2;

    // Input
    std::string InputFormat = "psd";
    int32_t DdsLoadAs = 0;
    int32_t GifFrameLoading = 0;
    int32_t IcoFrameLoading = 0;
    int32_t TiffFrameLoading = 0;
    int32_t RawLoadAs = 0;
    int32_t RawHeaderSize = 0;
    int32_t RawImageWidth = 0;
    int32_t RawImageHeight = 0;
    int32_t RawToneMapping = 2;

    // Output
    std::string OutputFormat = "dds";
    int32_t BmpBpp = 0;
    int32_t BmpCompression = 0;
    int32_t BmpColorTable = 0;
    int32_t DdsBpp = 0;
    int32_t ExrBpp = 0;
    int32_t ExrCompression = 0;
    int32_t GifBpp = 0;
    int32_t HdrBpp = 0;
    int32_t IcoBpp = 0;
    int32_t J2kBpp = 0;
    int32_t JngBpp = 0;
    int32_t Jp2Bpp = 0;
    int32_t JpgBpp = 0;
    int32_t JpgQuality = 95;
    int32_t JpgChroma = 0;
    int32_t JpgSaveAs = 0;
    int32_t JxrBpp = 0;
    int32_t PbmBpp = 0;
    int32_t PcxBpp = 0;
    int32_t PfmBpp = 0;
    int32_t PgmBpp = 0;
    int32_t PngBpp = 0;
    int32_t PngCompression = 0;
    int8_t PngInterlaced = 0;
    int32_t PpmBpp = 0;
    int32_t PsdBpp = 0;
    int32_t TgaBpp = 0;
    int32_t TgaCompression = 0;
    int32_t TiffBpp = 0;
    int32_t TiffCompression = 0;
    int32_t TiffColorModel = 0;
    int32_t WbmpBpp = 0;
    int32_t WebpBpp = 0;
    int32_t XpmBpp = 0;

    // Transform
    int8_t DoImageRotation = 0;
    int8_t ImageRotationType = 0;
    int32_t ImageRotation = 0;
    std::string ImageRotationBackColor = "000000";
    int8_t DoImageResize = 0;
    int32_t ImageWidth = 0;
    int8_t ImageWidthUnit = 0;
    int32_t ImageHeight = 0;
    int8_t ImageHeightUnit = 0;
    int8_t KeepAspectRatio = 1;
    int8_t ImageResizeType = 0;
    int8_t ImageResizeAlgorithm = 3;
    int8_t DoImageFlipHorizontal = 0;
    int8_t DoImageFlipVertical = 0;

    // Adjustment
    int8_t DoImageColorCorrection = 0;
    int32_t ImageBrightness = 0;
    int32_t ImageContrast = 0;
    float ImageGamma = 1.0f;
    int8_t ImageInvert = 0;
    int8_t DoImageGreyscale = 0;
    int8_t DoImageThreshold = 0;
    int32_t ImageThreshold = 0;

    // Frame
    int8_t DoFrame = 0;
    int32_t SolidLeft = 0;
    int32_t SolidRight = 0;
    int32_t SolidTop = 0;
    int32_t SolidBottom = 0;
    std::string SolidLeftColor = "000000";
    std::string SolidRightColor = "000000";
    std::string SolidTopColor = "000000";
    std::string SolidBottomColor = "000000";
    int32_t SolidOpacity = 255;

    // Watermark
    int8_t DoWatermark = 0;
    std::string WmText = "\xC2\xA9 2019-2026 Tarnwell Software";
    std::string WmFonts = "Arial,Tahoma,Verdana";
    std::string WmFont = "Arial";
    int32_t WmFontSize = 14;
    int32_t WmFontLeading = 0;
    std::string WmFontColors = "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF";
    std::string WmFontColor = "FFFFFF";
    int8_t WmFontStyle = 0;
    int8_t WmFontEffect = 0;
    int8_t WmTextAntialiasing = 0;
    int8_t WmTextAlignment = 0;
    int32_t WmTextPadding = 0;
    int32_t WmTextOpacity = 255;
    std::string WmBackColors = "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF";
    std::string WmBackColor = "000000";
    int32_t WmBackOpacity = 1;
    int8_t WmTextBoundary = 0;
    int8_t WmTextPosition = 8;
    int32_t WmTextXOffset = 10;
    int32_t WmTextYOffset = 10;
    int32_t WmTextRotation = 0;
    int8_t WmTextSize = 0;
    int32_t WmTextScale = 10;
    std::string WmImage;
    int8_t WmImageGreyscale = 0;
    int32_t WmImageOpacity = 255;
    int8_t WmImageBoundary = 0;
    int8_t WmImagePosition = 8;
    int32_t WmImageXOffset = 10;
    int32_t WmImageYOffset = 10;
    int32_t WmImageRotation = 0;
    int8_t WmImageSize = 0;
    int32_t WmImageScale = 10;

    // Advanced, file and privacy
    std::string FilenameMask = "%filename%.%ext%";
    int8_t FileTimestamp = 0;
    int32_t CustomTimestamp = 0;  // now, set by ResetSettings
    int8_t OutFoldersHistory = 1;
    int8_t OutFoldersNumber = 5;
    int8_t KeepSubfolders = 1;
    std::string TxtFields = "username,password,firstname,lastname,title,sex,notes";
    std::string CsvDelimiter = ",";
    std::string RecentOutFolders;
    std::string RecentFiles;
    int8_t CleanRecentFiles = 0;

    // Process values kept with the record, never written to any file.
    std::string ConfigPath;
};

// The process-wide instance.
ConversionSettings& Settings();

// A typed reference to one field, so that tables of keys and options can
// point at fields and loops can read and store them.
using FieldRef = std::variant<int32_t ConversionSettings::*, int8_t ConversionSettings::*,
                              float ConversionSettings::*, std::string ConversionSettings::*>;

// Stores a whole number into a numeric field (8-bit fields keep the low 8 bits).
void StoreInteger(ConversionSettings& s, FieldRef field, long long value);

// Every field to its default; KeepAspectRatio is off for the command line.
void ResetSettings(bool commandLineMode);

// Centred position on the primary screen, or the fallback when the screen is
// unknown or not larger than the size.
int32_t CenteredX(int32_t width, int32_t fallback);
int32_t CenteredY(int32_t height, int32_t fallback);

// Value vocabularies (ids 0 to 21).
enum Vocabulary : int {
    VocDdsLoadAs = 0, VocRawLoadAs = 1, VocFrameLoading = 2, VocToneMapping = 3,
    VocCompression = 4, VocColorTable = 5, VocColorModel = 6, VocJpgChroma = 7,
    VocJpgSaveAs = 8, VocRotationType = 9, VocSizeUnit = 10, VocResizeType = 11,
    VocResizeAlgorithm = 12, VocFrame = 13, VocWatermark = 14, VocFontStyle = 15,
    VocFontEffect = 16, VocTextAlignment = 17, VocBoundary = 18, VocPosition = 19,
    VocWmSize = 20, VocFileTimestamp = 21,
};
// Token (upper-cased here, not trimmed) to value; 0 when unknown.
int8_t TokenToValue(int vocabulary, const std::string& token);
// Lower-case first token of a value; empty when the value has none.
std::string ValueToToken(int vocabulary, int32_t value);

bool IsOutputFormat(const std::string& extension);
bool IsAllowedBpp(const std::string& extension, int32_t bpp);

}  // namespace vantor
