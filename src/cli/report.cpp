#include "cli/report.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "core/settings.h"
#include "core/state.h"
#include "engine/naming.h"
#include "engine/watermark.h"
#include "formats/catalogue.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vantor {
namespace {

using Check = const char* (*)(JobCheckOutcome&);  // the error line, or nullptr when passed

struct ReportRow {
    const char* label;
    std::string (*value)();
    bool (*condition)();
    Check check = nullptr;
};

const ConversionSettings& S() {
    return Settings();
}

std::string Number(long long value) {
    return std::to_string(value);
}
std::string Token(int vocabulary, int32_t value) {
    return ValueToToken(vocabulary, value);
}

std::string TwoDecimals(float value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                std::chars_format::fixed, 2);
    return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string();
}

std::string Size(int32_t value, int8_t unit) {
    return Number(value) + " " + Token(VocSizeUnit, unit);
}

// The output folder as the user gave it, or the input's folder as the input
// path names it, before either is made absolute.
std::string OutputAsGiven() {
    const ConversionState& state = State();
    return state.OutputFolder.empty() ? FolderPart(state.CurrentInput) : state.OutputFolder;
}

std::string ConversionAsDefaulted() {
    const ConversionState& state = State();
    return state.OutputExtension.empty() ? OutputFormatList().front() : state.OutputExtension;
}

// The folder the output goes to when no output option was given: the input
// file's own folder. A relative input is found through the working folder,
// so that is where its folder is too.
std::string InputFileFolder() {
    const std::string& input = State().CurrentInput;
    if (StartsWith(input, "/")) return FolderPart(input);
    std::error_code ec;
    std::string cwd = std::filesystem::current_path(ec).string();
    if (ec || cwd.empty()) return FolderPart(input);
    return FolderPart(WithTrailingSlash(cwd) + input);
}

// --- checks, in the order the job is validated ---

const char* CheckInputFile(JobCheckOutcome&) {
    ConversionState& state = State();
    const std::string path = state.InputFolder;
    state.InputFolder.clear();
    if (ExtensionOf(path).empty()) return "Error: Invalid input file";
    state.CurrentInput = path;
    const PathInfo info = QueryPath(path);
    if (info.kind != PathInfo::File || info.size <= 0) return "Error: Invalid input file";
    return nullptr;
}

const char* CheckOutputFolder(JobCheckOutcome&) {
    ConversionState& state = State();
    std::string folder = state.OutputFolder.empty() ? InputFileFolder() : state.OutputFolder;
    if (StartsWith(folder, "..")) return "Error: Incorrect output folder";
    if (!StartsWith(folder, "/")) {
        // Relative folders hang below the program's folder, not the working folder.
        if (StartsWith(folder, "./")) folder.erase(0, 2);
        folder = state.ProgramFolder + folder;
    }
    state.OutputFolder = WithTrailingSlash(folder);
    if (!FolderExists(state.OutputFolder)) return "Error: Invalid output folder";
    return nullptr;
}

const char* CheckConversionType(JobCheckOutcome&) {
    ConversionState& state = State();
    if (state.InputExtension.empty()) state.InputExtension = InputFormatList().front();
    if (state.OutputExtension.empty()) state.OutputExtension = OutputFormatList().front();
    return IsOutputFormat(state.OutputExtension) ? nullptr : "Error: Invalid conversion type";
}

const char* CheckDdsBpp(JobCheckOutcome&) {
    return IsAllowedBpp("dds", S().DdsBpp) ? nullptr : "Error: Invalid dds-bpp value";
}

const char* CheckWidth(JobCheckOutcome&) {
    return S().ImageWidth != 0 ? nullptr : "Error: Invalid width value";
}

const char* CheckHeight(JobCheckOutcome&) {
    return S().ImageHeight != 0 ? nullptr : "Error: Invalid height value";
}

bool InPercentRange(int32_t value) {
    return value >= -100 && value <= 100;
}

const char* CheckBrightness(JobCheckOutcome&) {
    return InPercentRange(S().ImageBrightness) ? nullptr : "Error: Invalid brightness value";
}

const char* CheckContrast(JobCheckOutcome&) {
    return InPercentRange(S().ImageContrast) ? nullptr : "Error: Invalid contrast value";
}

const char* CheckGamma(JobCheckOutcome&) {
    const float gamma = S().ImageGamma;
    return gamma >= 0.01f && gamma <= 9.99f ? nullptr : "Error: Invalid gamma value";
}

const char* CheckWatermarkFont(JobCheckOutcome& outcome) {
    if (!LoadWatermarkFont()) return "Error: Invalid watermark font";
    outcome.watermarkFontLoaded = true;
    return nullptr;
}

const char* CheckWatermarkImage(JobCheckOutcome&) {
    const PathInfo info = QueryPath(S().WmImage);
    return info.kind == PathInfo::File && info.size > 0 ? nullptr
                                                        : "Error: Invalid watermark image";
}

// --- conditions ---

bool Always() {
    return true;
}
bool ConvertsToDds() {
    return State().OutputExtension == "dds";
}
bool Rotates() {
    return S().DoImageRotation != 0;
}
bool Resizes() {
    return S().DoImageResize != 0;
}
bool CorrectsColor() {
    return S().DoImageColorCorrection != 0;
}
bool Thresholds() {
    return S().DoImageThreshold != 0;
}
bool SolidFrame() {
    return S().DoFrame == 1;
}
bool TextWatermark() {
    return S().DoWatermark == 1;
}
bool ImageWatermark() {
    return S().DoWatermark == 2;
}
bool CustomTime() {
    return S().FileTimestamp == 2;
}

// Every line of the report in the order printed, with the check that follows it.
// clang-format off
const ReportRow kReport[] = {
    {"Input: ", [] { return State().InputFolder; }, Always, CheckInputFile},
    {"Output: ", OutputAsGiven, Always, CheckOutputFolder},
    {"Conversion: ", ConversionAsDefaulted, Always, CheckConversionType},
    {"DDS BPP: ", [] { return Number(S().DdsBpp); }, ConvertsToDds, CheckDdsBpp},

    {"Image Rotation Type: ", [] { return Token(VocRotationType, S().ImageRotationType); },
     Rotates},
    {"Image Rotation: ", [] { return Number(S().ImageRotation); }, Rotates},
    {"Image Rotation Back Color: ", [] { return S().ImageRotationBackColor; }, Rotates},

    {"Width: ", [] { return Size(S().ImageWidth, S().ImageWidthUnit); }, Resizes, CheckWidth},
    {"Height: ", [] { return Size(S().ImageHeight, S().ImageHeightUnit); }, Resizes, CheckHeight},
    {"Keep Aspect Ratio: ", [] { return Number(S().KeepAspectRatio); }, Resizes},
    {"Image Resize Type: ", [] { return Token(VocResizeType, S().ImageResizeType); }, Resizes},
    {"Image Resize Algorithm: ", [] { return Token(VocResizeAlgorithm, S().ImageResizeAlgorithm); },
     Resizes},
    {"Flip Horizontal: ", [] { return Number(S().DoImageFlipHorizontal); }, Always},
    {"Flip Vertical: ", [] { return Number(S().DoImageFlipVertical); }, Always},

    {"Brightness: ", [] { return Number(S().ImageBrightness); }, CorrectsColor, CheckBrightness},
    {"Contrast: ", [] { return Number(S().ImageContrast); }, CorrectsColor, CheckContrast},
    {"Gamma: ", [] { return TwoDecimals(S().ImageGamma); }, CorrectsColor, CheckGamma},
    {"Invert: ", [] { return Number(S().ImageInvert); }, CorrectsColor},
    {"Greyscale: ", [] { return Number(S().DoImageGreyscale); }, Always},
    {"Image Threshold: ", [] { return Number(S().ImageThreshold); }, Thresholds},

    {"Frame: ", [] { return Token(VocFrame, S().DoFrame); }, Always},
    {"Frame left: ", [] { return Number(S().SolidLeft); }, SolidFrame},
    {"Frame right: ", [] { return Number(S().SolidRight); }, SolidFrame},
    {"Frame top: ", [] { return Number(S().SolidTop); }, SolidFrame},
    {"Frame bottom: ", [] { return Number(S().SolidBottom); }, SolidFrame},
    {"Frame left color: ", [] { return S().SolidLeftColor; }, SolidFrame},
    {"Frame right color: ", [] { return S().SolidRightColor; }, SolidFrame},
    {"Frame top color: ", [] { return S().SolidTopColor; }, SolidFrame},
    {"Frame bottom color: ", [] { return S().SolidBottomColor; }, SolidFrame},
    {"Frame opacity: ", [] { return Number(S().SolidOpacity); }, SolidFrame},

    {"Watermark: ", [] { return Token(VocWatermark, S().DoWatermark); }, Always},
    {"Watermark text: ", [] { return S().WmText; }, TextWatermark},
    {"Watermark font: ", [] { return S().WmFont; }, TextWatermark},
    {"Watermark font size: ", [] { return Number(S().WmFontSize); }, TextWatermark},
    {"Watermark font leading: ", [] { return Number(S().WmFontLeading); }, TextWatermark},
    {"Watermark font color: ", [] { return S().WmFontColor; }, TextWatermark},
    {"Watermark font style: ", [] { return Token(VocFontStyle, S().WmFontStyle); }, TextWatermark},
    {"Watermark font effect: ", [] { return Token(VocFontEffect, S().WmFontEffect); },
     TextWatermark},
    {"Watermark text antialiasing: ", [] { return Number(S().WmTextAntialiasing); }, TextWatermark},
    {"Watermark text alignment: ", [] { return Token(VocTextAlignment, S().WmTextAlignment); },
     TextWatermark},
    {"Watermark text padding: ", [] { return Number(S().WmTextPadding); }, TextWatermark},
    {"Watermark text opacity: ", [] { return Number(S().WmTextOpacity); }, TextWatermark},
    {"Watermark background color: ", [] { return S().WmBackColor; }, TextWatermark},
    {"Watermark background opacity: ", [] { return Number(S().WmBackOpacity); }, TextWatermark},
    {"Watermark boundary: ", [] { return Token(VocBoundary, S().WmTextBoundary); }, TextWatermark},
    {"Watermark position: ", [] { return Token(VocPosition, S().WmTextPosition); }, TextWatermark},
    {"Watermark offset (x/y): ",
     [] { return Number(S().WmTextXOffset) + "/" + Number(S().WmTextYOffset); }, TextWatermark},
    {"Watermark rotation: ", [] { return Number(S().WmTextRotation); }, TextWatermark},
    {"Watermark size/mode: ", [] { return Token(VocWmSize, S().WmTextSize); }, TextWatermark,
     CheckWatermarkFont},

    {"Watermark image: ", [] { return S().WmImage; }, ImageWatermark},
    {"Watermark greyscale: ", [] { return Number(S().WmImageGreyscale); }, ImageWatermark},
    {"Watermark opacity: ", [] { return Number(S().WmImageOpacity); }, ImageWatermark},
    {"Watermark boundary: ", [] { return Token(VocBoundary, S().WmImageBoundary); },
     ImageWatermark},
    {"Watermark position: ", [] { return Token(VocPosition, S().WmImagePosition); },
     ImageWatermark},
    {"Watermark offset (x/y): ",
     [] { return Number(S().WmImageXOffset) + "/" + Number(S().WmImageYOffset); }, ImageWatermark},
    {"Watermark rotation: ", [] { return Number(S().WmImageRotation); }, ImageWatermark},
    {"Watermark size/mode: ", [] { return Token(VocWmSize, S().WmImageSize); }, ImageWatermark,
     CheckWatermarkImage},

    {"Filename Mask: ", [] { return S().FilenameMask; }, Always},
    {"File Timestamp: ", [] { return Token(VocFileTimestamp, S().FileTimestamp); }, Always},
    {"Custom Timestamp: ", [] { return Number(S().CustomTimestamp); }, CustomTime},
    {"Keep Subfolders: ", [] { return Number(S().KeepSubfolders); }, Always},
};
// clang-format on

}  // namespace

JobCheckOutcome CheckJobWithReport(bool debug, const LineSink& print) {
    JobCheckOutcome outcome;
    for (const ReportRow& row : kReport) {
        if (!row.condition()) continue;
        if (debug) print(std::string(row.label) + row.value());
        if (!row.check) continue;
        if (const char* error = row.check(outcome)) {
            print(error);
            return outcome;
        }
    }
    outcome.passed = true;
    return outcome;
}

}  // namespace vantor
