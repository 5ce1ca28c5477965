#include "cli/report.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "core/settings.h"
#include "core/state.h"
#include "engine/watermark.h"
#include "test_support.h"

namespace vantor {
namespace {

using Lines = std::vector<std::string>;
using test::TempDir;
using test::WriteFile;

// A job as the option parser leaves it: an input file that exists (its
// contents do not matter to the checks) and an output folder.
class JobCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetStateForTests();
        ResetSettings(true);
        State().ProgramFolder = mDir.path();
        mInput = mDir.file("pic.psd");
        WriteFile(mInput, "not empty");
        State().InputFolder = mInput;
        State().OutputFolder = mDir.path();
    }

    JobCheckOutcome Run(bool debug = true) {
        mLines.clear();
        return CheckJobWithReport(debug,
                                  [this](const std::string& line) { mLines.push_back(line); });
    }

    // The three lines every report starts with.
    Lines Head() const { return {"Input: " + mInput, "Output: " + mDir.path(), "Conversion: dds"}; }

    TempDir mDir;
    std::string mInput;
    Lines mLines;
};

TEST_F(JobCheckTest, DefaultsPrintTheShortReportAndSettleTheJob) {
    JobCheckOutcome outcome = Run();
    EXPECT_TRUE(outcome.passed);
    EXPECT_FALSE(outcome.watermarkFontLoaded);
    Lines expected = Head();
    expected.insert(expected.end(),
                    {"DDS BPP: 0", "Flip Horizontal: 0", "Flip Vertical: 0", "Greyscale: 0",
                     "Frame: none", "Watermark: none", "Filename Mask: %filename%.%ext%",
                     "File Timestamp: current", "Keep Subfolders: 1"});
    EXPECT_EQ(mLines, expected);
    EXPECT_EQ(State().CurrentInput, mInput);
    EXPECT_EQ(State().InputFolder, "");
    EXPECT_EQ(State().OutputFolder, mDir.path());
    EXPECT_EQ(State().InputExtension, "psd");
    EXPECT_EQ(State().OutputExtension, "dds");
}

TEST_F(JobCheckTest, WithoutDebugNothingIsPrinted) {
    EXPECT_TRUE(Run(false).passed);
    EXPECT_TRUE(mLines.empty());
}

TEST_F(JobCheckTest, EveryConditionalGroupInOrder) {
    ConversionSettings& s = Settings();
    s.DoImageRotation = 1;
    s.ImageRotationType = 1;
    s.ImageRotation = -90;
    s.ImageRotationBackColor = "FF0000";
    s.DoImageResize = 1;
    s.ImageWidth = 50;
    s.ImageWidthUnit = 1;
    s.ImageHeight = 60;
    s.ImageResizeType = 1;
    s.ImageResizeAlgorithm = 5;
    s.DoImageFlipVertical = 1;
    s.DoImageColorCorrection = 1;
    s.ImageBrightness = -100;
    s.ImageContrast = 100;
    s.ImageGamma = 2.5f;
    s.ImageInvert = 1;
    s.DoImageGreyscale = 1;
    s.DoImageThreshold = 1;
    s.ImageThreshold = 128;
    s.DoFrame = 1;
    s.SolidLeft = 1;
    s.SolidRight = 2;
    s.SolidTop = 3;
    s.SolidBottom = 4;
    s.SolidLeftColor = "111111";
    s.SolidRightColor = "222222";
    s.SolidTopColor = "333333";
    s.SolidBottomColor = "444444";
    s.SolidOpacity = 200;
    s.DoWatermark = 1;
    s.WmText = "Hello";
    s.WmFontLeading = 2;
    s.WmFontStyle = 3;
    s.WmFontEffect = 2;
    s.WmTextAntialiasing = 1;
    s.WmTextAlignment = 1;
    s.WmTextPadding = 4;
    s.WmTextBoundary = 1;
    s.WmTextPosition = 4;
    s.WmTextXOffset = -5;
    s.WmTextYOffset = 6;
    s.WmTextRotation = 45;
    s.WmTextSize = 3;  // a value without a token prints as nothing
    s.FilenameMask = "%filename%_%n%.%ext%";
    s.FileTimestamp = 2;
    s.CustomTimestamp = 1700000000;
    s.KeepSubfolders = 0;
    State().OutputExtension = "dds";

    JobCheckOutcome outcome = Run();
    EXPECT_TRUE(outcome.passed);
    EXPECT_TRUE(outcome.watermarkFontLoaded);
    if (outcome.watermarkFontLoaded) ReleaseWatermarkFont();
    Lines expected = Head();
    expected.insert(expected.end(), {"DDS BPP: 0",
                                     "Image Rotation Type: advanced",
                                     "Image Rotation: -90",
                                     "Image Rotation Back Color: FF0000",
                                     "Width: 50 percent",
                                     "Height: 60 pixels",
                                     "Keep Aspect Ratio: 0",
                                     "Image Resize Type: largeimages",
                                     "Image Resize Algorithm: lanczos",
                                     "Flip Horizontal: 0",
                                     "Flip Vertical: 1",
                                     "Brightness: -100",
                                     "Contrast: 100",
                                     "Gamma: 2.50",
                                     "Invert: 1",
                                     "Greyscale: 1",
                                     "Image Threshold: 128",
                                     "Frame: solid",
                                     "Frame left: 1",
                                     "Frame right: 2",
                                     "Frame top: 3",
                                     "Frame bottom: 4",
                                     "Frame left color: 111111",
                                     "Frame right color: 222222",
                                     "Frame top color: 333333",
                                     "Frame bottom color: 444444",
                                     "Frame opacity: 200",
                                     "Watermark: text",
                                     "Watermark text: Hello",
                                     "Watermark font: Arial",
                                     "Watermark font size: 14",
                                     "Watermark font leading: 2",
                                     "Watermark font color: FFFFFF",
                                     "Watermark font style: bolditalic",
                                     "Watermark font effect: strikethrought",
                                     "Watermark text antialiasing: 1",
                                     "Watermark text alignment: center",
                                     "Watermark text padding: 4",
                                     "Watermark text opacity: 255",
                                     "Watermark background color: 000000",
                                     "Watermark background opacity: 1",
                                     "Watermark boundary: frame",
                                     "Watermark position: middlecenter",
                                     "Watermark offset (x/y): -5/6",
                                     "Watermark rotation: 45",
                                     "Watermark size/mode: ",
                                     "Filename Mask: %filename%_%n%.%ext%",
                                     "File Timestamp: custom",
                                     "Custom Timestamp: 1700000000",
                                     "Keep Subfolders: 0"});
    EXPECT_EQ(mLines, expected);
}

TEST_F(JobCheckTest, ImageWatermarkReplacesTheTextLines) {
    const std::string mark = mDir.file("mark.png");
    WriteFile(mark, "png");
    ConversionSettings& s = Settings();
    s.DoWatermark = 2;
    s.WmImage = mark;
    s.WmImageGreyscale = 1;
    s.WmImageOpacity = 99;
    s.WmImagePosition = 0;
    s.WmImageXOffset = 1;
    s.WmImageYOffset = 2;
    s.WmImageRotation = 3;

    EXPECT_TRUE(Run().passed);
    Lines expected = Head();
    expected.insert(
        expected.end(),
        {"DDS BPP: 0", "Flip Horizontal: 0", "Flip Vertical: 0", "Greyscale: 0", "Frame: none",
         "Watermark: image", "Watermark image: " + mark, "Watermark greyscale: 1",
         "Watermark opacity: 99", "Watermark boundary: image", "Watermark position: topleft",
         "Watermark offset (x/y): 1/2", "Watermark rotation: 3", "Watermark size/mode: fixed",
         "Filename Mask: %filename%.%ext%", "File Timestamp: current", "Keep Subfolders: 1"});
    EXPECT_EQ(mLines, expected);
}

// A setting that fails its check: the report stops with the offending value
// on the line right above the error.
struct FailCase {
    const char* title;
    void (*arrange)(const std::string& dir);
    const char* lastValueLine;  // nullptr when the value line is the input's
    const char* error;
};
void PrintTo(const FailCase& c, std::ostream* os) {
    *os << c.title;
}

class JobCheckFailureTest : public JobCheckTest, public ::testing::WithParamInterface<FailCase> {};

TEST_P(JobCheckFailureTest, StopsAtTheFailingValue) {
    GetParam().arrange(mDir.path());
    JobCheckOutcome outcome = Run();
    EXPECT_FALSE(outcome.passed);
    ASSERT_GE(mLines.size(), 2u);
    EXPECT_EQ(mLines.back(), GetParam().error);
    if (GetParam().lastValueLine) {
        EXPECT_EQ(mLines[mLines.size() - 2], GetParam().lastValueLine);
    }

    // Without debug the error line is all there is.
    SetUp();
    GetParam().arrange(mDir.path());
    EXPECT_FALSE(Run(false).passed);
    EXPECT_EQ(mLines, Lines{GetParam().error});
}

INSTANTIATE_TEST_SUITE_P(
    Checks, JobCheckFailureTest,
    ::testing::Values(FailCase{"InputWithoutExtension",
                               [](const std::string& d) {
                                   WriteFile(d + "noext", "x");
                                   State().InputFolder = d + "noext";
                               },
                               nullptr, "Error: Invalid input file"},
                      FailCase{"InputMissing",
                               [](const std::string& d) { State().InputFolder = d + "gone.psd"; },
                               nullptr, "Error: Invalid input file"},
                      FailCase{"InputEmpty",
                               [](const std::string& d) {
                                   WriteFile(d + "empty.psd", "");
                                   State().InputFolder = d + "empty.psd";
                               },
                               nullptr, "Error: Invalid input file"},
                      FailCase{"InputIsAFolder",
                               [](const std::string& d) {
                                   std::filesystem::create_directory(d + "dir.psd");
                                   State().InputFolder = d + "dir.psd";
                               },
                               nullptr, "Error: Invalid input file"},
                      FailCase{"OutputAboveTheProgram",
                               [](const std::string&) { State().OutputFolder = "../x"; },
                               "Output: ../x", "Error: Incorrect output folder"},
                      FailCase{"OutputMissing",
                               [](const std::string& d) { State().OutputFolder = d + "missing"; },
                               nullptr, "Error: Invalid output folder"},
                      FailCase{"OutputIsAFile",
                               [](const std::string& d) { State().OutputFolder = d + "pic.psd"; },
                               nullptr, "Error: Invalid output folder"},
                      FailCase{"ConversionInCapitals",
                               [](const std::string&) { State().OutputExtension = "DDS"; },
                               "Conversion: DDS", "Error: Invalid conversion type"},
                      FailCase{"ConversionOtherFormat",
                               [](const std::string&) { State().OutputExtension = "png"; },
                               "Conversion: png", "Error: Invalid conversion type"},
                      FailCase{"DdsBpp24", [](const std::string&) { Settings().DdsBpp = 24; },
                               "DDS BPP: 24", "Error: Invalid dds-bpp value"},
                      FailCase{"WidthZero",
                               [](const std::string&) {
                                   Settings().DoImageResize = 1;
                                   Settings().ImageHeight = 10;
                               },
                               "Width: 0 pixels", "Error: Invalid width value"},
                      FailCase{"HeightMissing",
                               [](const std::string&) {
                                   Settings().DoImageResize = 1;
                                   Settings().ImageWidth = 100;
                               },
                               "Height: 0 pixels", "Error: Invalid height value"},
                      FailCase{"Brightness101",
                               [](const std::string&) {
                                   Settings().DoImageColorCorrection = 1;
                                   Settings().ImageBrightness = 101;
                               },
                               "Brightness: 101", "Error: Invalid brightness value"},
                      FailCase{"ContrastMinus101",
                               [](const std::string&) {
                                   Settings().DoImageColorCorrection = 1;
                                   Settings().ImageContrast = -101;
                               },
                               "Contrast: -101", "Error: Invalid contrast value"},
                      FailCase{"Gamma10",
                               [](const std::string&) {
                                   Settings().DoImageColorCorrection = 1;
                                   Settings().ImageGamma = 10.0f;
                               },
                               "Gamma: 10.00", "Error: Invalid gamma value"},
                      FailCase{"GammaJustBelow",
                               [](const std::string&) {
                                   Settings().DoImageColorCorrection = 1;
                                   Settings().ImageGamma = 0.0099f;
                               },
                               "Gamma: 0.01", "Error: Invalid gamma value"},
                      FailCase{"GammaNotANumber",
                               [](const std::string&) {
                                   Settings().DoImageColorCorrection = 1;
                                   Settings().ImageGamma = std::numeric_limits<float>::quiet_NaN();
                               },
                               nullptr, "Error: Invalid gamma value"},
                      FailCase{"WatermarkFontUnloadable",
                               [](const std::string&) {
                                   Settings().DoWatermark = 1;
                                   Settings().WmFontSize = 0;
                               },
                               "Watermark size/mode: fixed", "Error: Invalid watermark font"},
                      FailCase{"WatermarkImageMissing",
                               [](const std::string& d) {
                                   Settings().DoWatermark = 2;
                                   Settings().WmImage = d + "none.png";
                               },
                               "Watermark size/mode: fixed", "Error: Invalid watermark image"},
                      FailCase{"WatermarkImageEmpty",
                               [](const std::string& d) {
                                   WriteFile(d + "empty.png", "");
                                   Settings().DoWatermark = 2;
                                   Settings().WmImage = d + "empty.png";
                               },
                               nullptr, "Error: Invalid watermark image"},
                      FailCase{"WatermarkImageIsAFolder",
                               [](const std::string& d) {
                                   Settings().DoWatermark = 2;
                                   Settings().WmImage = d;
                               },
                               nullptr, "Error: Invalid watermark image"}));

struct PassCase {
    const char* title;
    void (*arrange)();
};
void PrintTo(const PassCase& c, std::ostream* os) {
    *os << c.title;
}

class JobCheckBoundaryTest : public JobCheckTest, public ::testing::WithParamInterface<PassCase> {};

TEST_P(JobCheckBoundaryTest, Passes) {
    GetParam().arrange();
    EXPECT_TRUE(Run().passed) << (mLines.empty() ? "" : mLines.back());
}

INSTANTIATE_TEST_SUITE_P(
    Limits, JobCheckBoundaryTest,
    ::testing::Values(PassCase{"DdsBpp32", [] { Settings().DdsBpp = 32; }},
                      PassCase{"LowerCaseConversion", [] { State().OutputExtension = "dds"; }},
                      PassCase{"GammaLowest",
                               [] {
                                   Settings().DoImageColorCorrection = 1;
                                   Settings().ImageGamma = 0.01f;
                               }},
                      PassCase{"GammaHighest",
                               [] {
                                   Settings().DoImageColorCorrection = 1;
                                   Settings().ImageGamma = 9.99f;
                               }},
                      PassCase{"RangeEnds",
                               [] {
                                   Settings().DoImageColorCorrection = 1;
                                   Settings().ImageBrightness = -100;
                                   Settings().ImageContrast = 100;
                               }},
                      // Out-of-range values are only checked when their switch is on.
                      PassCase{"UncheckedWhenSwitchedOff", [] {
                                   Settings().ImageBrightness = 500;
                                   Settings().ImageGamma = 0.0f;
                                   Settings().ImageWidth = 0;
                                   Settings().WmFontSize = 0;
                               }}));

TEST_F(JobCheckTest, RelativeOutputFolderHangsBelowTheProgramFolder) {
    std::filesystem::create_directory(mDir.path() + "out");
    for (const char* given : {"out", "./out", "out/"}) {
        SetUp();
        std::filesystem::create_directory(mDir.path() + "out");
        State().OutputFolder = given;
        EXPECT_TRUE(Run().passed) << given;
        EXPECT_EQ(mLines[1], std::string("Output: ") + given);  // shown as given
        EXPECT_EQ(State().OutputFolder, mDir.path() + "out/") << given;
    }
}

TEST_F(JobCheckTest, NoOutputFolderMeansTheInputFilesFolder) {
    State().OutputFolder.clear();
    EXPECT_TRUE(Run().passed);
    EXPECT_EQ(mLines[1], "Output: " + mDir.path());
    EXPECT_EQ(State().OutputFolder, mDir.path());
}

// A relative input is opened through the working folder, so its output goes
// there too rather than below the program's folder.
TEST_F(JobCheckTest, RelativeInputWithoutOutputFolderWritesBesideTheInput) {
    std::filesystem::create_directory(mDir.path() + "sub");
    WriteFile(mDir.path() + "sub/in.psd", "x");
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(mDir.path());
    State().ProgramFolder = "/nonexistent-program-folder/";
    State().InputFolder = "sub/in.psd";
    State().OutputFolder.clear();
    EXPECT_TRUE(Run().passed);
    EXPECT_EQ(mLines[1], "Output: sub/");  // shown before it is made absolute
    const std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(State().OutputFolder, cwd + "/sub/");

    SetUp();
    State().ProgramFolder = "/nonexistent-program-folder/";
    State().InputFolder = "pic.psd";
    State().OutputFolder.clear();
    EXPECT_TRUE(Run().passed);
    EXPECT_EQ(State().OutputFolder, cwd + "/");
    std::filesystem::current_path(saved);
}

}  // namespace
}  // namespace vantor
