#include "cli/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/settings.h"
#include "core/state.h"
#include "test_support.h"

namespace vantor {
namespace {

using Params = std::vector<std::string>;
using test::TempDir;
using test::WriteFile;

void FreshRun() {
    ResetStateForTests();
    ResetSettings(true);
}

struct NameValueCase {
    const char* parameter;
    const char* name;
    const char* value;
};
void PrintTo(const NameValueCase& c, std::ostream* os) {
    *os << c.parameter;
}

class OptionNameValueTest : public ::testing::TestWithParam<NameValueCase> {};

TEST_P(OptionNameValueTest, SplitsNameAndValue) {
    const NameValueCase& c = GetParam();
    const Params params{c.parameter};
    EXPECT_EQ(OptionName(params, 0), c.name);
    EXPECT_EQ(OptionValue(params, 0), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Parameters, OptionNameValueTest,
    ::testing::Values(NameValueCase{"-i", "-I", "-i"},
                      NameValueCase{"  --Width=100  ", "--WIDTH", "100"},
                      NameValueCase{"--filename-mask=a=b", "--FILENAME-MASK", "a=b"},
                      NameValueCase{"--conversion=DDS", "--CONVERSION", "DDS"},
                      NameValueCase{"--flip-vertical", "--FLIP-VERTICAL", "--flip-vertical"},
                      NameValueCase{"--gamma=", "--GAMMA", ""},
                      NameValueCase{"-o=x", "-O=X", "-o=x"},
                      NameValueCase{"picture.psd", "", "picture.psd"}, NameValueCase{"", "", ""}));

TEST(OptionNameValueTest, PastTheLastParameterIsEmpty) {
    const Params params{"-i"};
    EXPECT_EQ(OptionName(params, 1), "");
    EXPECT_EQ(OptionValue(params, 1), "");
}

struct NumberCase {
    const char* text;
    int32_t integer;
    float decimal;
};
void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << "'" << c.text << "'";
}

class OptionNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(OptionNumberTest, ReadsTheLeadingNumber) {
    EXPECT_EQ(OptionInteger(GetParam().text), GetParam().integer);
    EXPECT_FLOAT_EQ(OptionDecimal(GetParam().text), GetParam().decimal);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, OptionNumberTest,
    ::testing::Values(
        NumberCase{"100", 100, 100.0f}, NumberCase{"-50", -50, -50.0f}, NumberCase{"+7", 7, 7.0f},
        NumberCase{" \t12abc", 12, 12.0f}, NumberCase{"$FF", 255, 0.0f},
        NumberCase{"-$10", -16, 0.0f}, NumberCase{"$1g", 1, 0.0f}, NumberCase{"%101", 5, 0.0f},
        NumberCase{"%102", 2, 0.0f}, NumberCase{"2.2", 2, 2.2f}, NumberCase{"-.5", 0, -0.5f},
        NumberCase{"0.01", 0, 0.01f}, NumberCase{"abc", 0, 0.0f}, NumberCase{"", 0, 0.0f},
        NumberCase{"nan", 0, 0.0f}, NumberCase{"inf", 0, 0.0f}, NumberCase{"$", 0, 0.0f},
        // Kept to 32 bits, never undefined.
        NumberCase{"4294967396", 100, 4294967396.0f},
        NumberCase{"2147483648", INT32_MIN, 2147483648.0f}));

// One command line and what it must leave behind.
struct ParseCase {
    const char* title;
    Params params;
    const char* error;
    void (*verify)(const CommandLineFlags&);
};
void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << c.title;
}

class ParseCommandLineTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseCommandLineTest, AppliesOptions) {
    FreshRun();
    CommandLineFlags flags;
    EXPECT_EQ(ParseCommandLine(GetParam().params, flags), GetParam().error);
    GetParam().verify(flags);
}

const ConversionSettings& S() {
    return Settings();
}
const ConversionState& St() {
    return State();
}

INSTANTIATE_TEST_SUITE_P(
    Values, ParseCommandLineTest,
    ::testing::Values(
        ParseCase{"ShortInputTakesNextParameter",
                  {"-i", "a.psd", "-o", "/out"},
                  "",
                  [](const CommandLineFlags&) {
                      EXPECT_EQ(St().InputFolder, "a.psd");
                      EXPECT_TRUE(St().CommandLineInput);
                      EXPECT_EQ(St().OutputFolder, "/out");
                  }},
        ParseCase{"LongInputTakesAttachedValue",
                  {"--INPUT=a.psd", "--output=/o"},
                  "",
                  [](const CommandLineFlags&) {
                      EXPECT_EQ(St().InputFolder, "a.psd");
                      EXPECT_EQ(St().OutputFolder, "/o");
                  }},
        ParseCase{"ShortInputLast",
                  {"-i"},
                  "Incorrect number of parameters",
                  [](const CommandLineFlags&) { EXPECT_FALSE(St().CommandLineInput); }},
        ParseCase{"ShortInputFollowedByOption",
                  {"-i", "-o", "x"},
                  "Incorrect number of parameters",
                  [](const CommandLineFlags&) {}},
        ParseCase{"LongInputWithoutValue",
                  {"--input"},
                  "Incorrect number of parameters",
                  [](const CommandLineFlags&) {}},
        ParseCase{"LongInputEmptyValue",
                  {"--input="},
                  "Incorrect number of parameters",
                  [](const CommandLineFlags&) {}},
        ParseCase{"NegativeNumberAttached",
                  {"--brightness=-50"},
                  "",
                  [](const CommandLineFlags&) {
                      EXPECT_EQ(S().ImageBrightness, -50);
                      EXPECT_EQ(S().DoImageColorCorrection, 1);
                  }},
        ParseCase{"DoubleDashValueRefused",
                  {"--brightness=--50"},
                  "Incorrect number of parameters",
                  [](const CommandLineFlags&) { EXPECT_EQ(S().DoImageColorCorrection, 0); }},
        ParseCase{"WidthAsTwoParameters",
                  {"--width", "100"},
                  "Incorrect number of parameters",
                  [](const CommandLineFlags&) { EXPECT_EQ(S().ImageWidth, 0); }},
        ParseCase{"OptionsBeforeAnErrorKeepTheirEffect",
                  {"--width=9", "-p", "-o"},
                  "Incorrect number of parameters",
                  [](const CommandLineFlags& f) {
                      EXPECT_EQ(S().ImageWidth, 9);
                      EXPECT_TRUE(f.pause);
                  }},
        ParseCase{"QuotedLongInputJoined",
                  {"--input=\"/tmp/my", "pictures/a.psd\"", "-q"},
                  "",
                  [](const CommandLineFlags& f) {
                      EXPECT_EQ(St().InputFolder, "/tmp/my pictures/a.psd");
                      EXPECT_TRUE(f.quiet);
                  }},
        ParseCase{"QuotedShortInputJoinedOverThreePieces",
                  {"-i", "\"/tmp/a", "b", "c.psd\"", "-o", "/x"},
                  "",
                  [](const CommandLineFlags&) {
                      EXPECT_EQ(St().InputFolder, "/tmp/a b c.psd");
                      EXPECT_EQ(St().OutputFolder, "/x");
                  }},
        ParseCase{"UnclosedQuoteTakesTheRest",
                  {"-o", "\"/tmp/a", "--width=5"},
                  "",
                  [](const CommandLineFlags&) {
                      EXPECT_EQ(St().OutputFolder, "/tmp/a 5");
                      EXPECT_EQ(S().ImageWidth, 0);
                  }},
        ParseCase{"ConversionKeepsCaseAndNeverJoins",
                  {"-c", "\"DD", "S\""},
                  "",
                  [](const CommandLineFlags&) { EXPECT_EQ(St().OutputExtension, "DD"); }},
        ParseCase{"NamesIgnoreCase",
                  {"--WiDtH=100", "--HEIGHT=50", "-I", "x.psd"},
                  "",
                  [](const CommandLineFlags&) {
                      EXPECT_EQ(S().ImageWidth, 100);
                      EXPECT_EQ(S().ImageHeight, 50);
                      EXPECT_EQ(S().DoImageResize, 1);
                      EXPECT_EQ(St().InputFolder, "x.psd");
                  }},
        ParseCase{"FlagIgnoresItsValue",
                  {"--flip-horizontal=no", "--keep-aspect-ratio"},
                  "",
                  [](const CommandLineFlags&) {
                      EXPECT_EQ(S().DoImageFlipHorizontal, 1);
                      EXPECT_EQ(S().KeepAspectRatio, 1);
                  }},
        ParseCase{"TokensThroughTheirVocabularies",
                  {"--resize-algorithm=lanczos", "--wm-text-position=BottomLeft",
                   "--png-compression=RLE", "--width-unit=percent", "--file-timestamp=nonsense"},
                  "",
                  [](const CommandLineFlags&) {
                      EXPECT_EQ(S().ImageResizeAlgorithm, 5);
                      EXPECT_EQ(S().WmTextPosition, 6);
                      EXPECT_EQ(S().PngCompression, 1);
                      EXPECT_EQ(S().ImageWidthUnit, 1);
                      EXPECT_EQ(S().FileTimestamp, 0);
                  }},
        ParseCase{"DecimalGamma",
                  {"--gamma=2.2"},
                  "",
                  [](const CommandLineFlags&) {
                      EXPECT_FLOAT_EQ(S().ImageGamma, 2.2f);
                      EXPECT_EQ(S().DoImageColorCorrection, 1);
                  }},
        ParseCase{"CompanionSwitches",
                  {"--rotation=90", "--threshold=$80", "--fr-solid-left=5", "--invert"},
                  "",
                  [](const CommandLineFlags&) {
                      EXPECT_EQ(S().ImageRotation, 90);
                      EXPECT_EQ(S().DoImageRotation, 1);
                      EXPECT_EQ(S().ImageThreshold, 128);
                      EXPECT_EQ(S().DoImageThreshold, 1);
                      EXPECT_EQ(S().SolidLeft, 5);
                      EXPECT_EQ(S().DoFrame, 1);
                      EXPECT_EQ(S().ImageInvert, 1);
                      EXPECT_EQ(S().DoImageColorCorrection, 1);
                  }},
        ParseCase{"WatermarkKindFollowsTheLastOption",
                  {"--wm-text=Hi", "--wm-image=w.png"},
                  "",
                  [](const CommandLineFlags&) {
                      EXPECT_EQ(S().WmText, "Hi");
                      EXPECT_EQ(S().WmImage, "w.png");
                      EXPECT_EQ(S().DoWatermark, 2);
                  }},
        ParseCase{"TextWatermark",
                  {"--wm-text=\"Hello", "world\"", "--wm-font=Arial"},
                  "",
                  [](const CommandLineFlags&) {
                      EXPECT_EQ(S().WmText, "Hello world");
                      EXPECT_EQ(S().DoWatermark, 1);
                  }},
        ParseCase{"FrameOpacityOnlyByItsCommandLineName",
                  {"--fr-solid-opacity=128", "--wm-solid-opacity=7"},
                  "",
                  [](const CommandLineFlags&) { EXPECT_EQ(S().SolidOpacity, 128); }},
        ParseCase{"NoSubfoldersSwitchesOff",
                  {"--no-subfolders"},
                  "",
                  [](const CommandLineFlags&) { EXPECT_EQ(S().KeepSubfolders, 0); }},
        ParseCase{
            "MaskUnquoted",
            {"--filename-mask=\"%filename%_x.%ext%\""},
            "",
            [](const CommandLineFlags&) { EXPECT_EQ(S().FilenameMask, "%filename%_x.%ext%"); }},
        ParseCase{"LaterOptionWins",
                  {"--width=1", "--width=2", "--dds-bpp=32"},
                  "",
                  [](const CommandLineFlags&) {
                      EXPECT_EQ(S().ImageWidth, 2);
                      EXPECT_EQ(S().DdsBpp, 32);
                  }},
        ParseCase{"RunSwitches",
                  {"-d", "-Q", "--pause"},
                  "",
                  [](const CommandLineFlags& f) {
                      EXPECT_EQ(St().CommandLineMode, "DEBUG");
                      EXPECT_TRUE(f.quiet);
                      EXPECT_TRUE(f.pause);
                      EXPECT_FALSE(St().CommandLineInput);
                  }},
        ParseCase{"FirstParameterCommandsAndStrayWordsSkipped",
                  {"-v", "stray", "-U", "-T", "--help", "--nonsense=1", "-i", "a.psd"},
                  "",
                  [](const CommandLineFlags&) { EXPECT_EQ(St().InputFolder, "a.psd"); }},
        ParseCase{"ProfileMissing",
                  {"--width=3", "--profile=/nonexistent/p.ini", "--width=4"},
                  "Invalid profile file",
                  [](const CommandLineFlags&) { EXPECT_EQ(S().ImageWidth, 3); }},
        ParseCase{"ProfileEmpty",
                  {"--profile="},
                  "Incorrect number of parameters",
                  [](const CommandLineFlags&) {}}));

TEST(ReadCommandLineProfileTest, ReadsGroupCliWithItsOwnRules) {
    FreshRun();
    TempDir dir;
    const std::string path = dir.file("profile.ini");
    WriteFile(path,
              "[Other]\n--width=1\n"
              "[cli]\n"
              "--width = 100\n"
              "--height=$32\n"
              "--wm-solid-opacity=7\n"
              "--fr-solid-opacity=9\n"
              "--no-subfolders=0\n"
              "--filename-mask = \"%filename%-x.%ext%\"\n"
              "--wm-text =  Hello world  \n"
              "--wm-font=\"Arial\"\n"
              "--input=ignored.psd\n"
              "--debug\n"
              "--resize-algorithm= bspline\n"
              "--gamma=2.5\n"
              "--unknown=5\n");
    ASSERT_TRUE(ReadCommandLineProfile(path));
    EXPECT_EQ(S().ImageWidth, 100);
    EXPECT_EQ(S().ImageHeight, 50);
    EXPECT_EQ(S().DoImageResize, 1);
    EXPECT_EQ(S().SolidOpacity, 7);
    EXPECT_EQ(S().KeepSubfolders, 0);
    EXPECT_EQ(S().FilenameMask, "%filename%-x.%ext%");
    EXPECT_EQ(S().WmText, "Hello world");
    EXPECT_EQ(S().DoWatermark, 1);
    EXPECT_EQ(S().WmFont, "\"Arial\"");  // only the mask loses its quotes in a profile
    EXPECT_EQ(S().ImageResizeAlgorithm, 2);
    EXPECT_FLOAT_EQ(S().ImageGamma, 2.5f);
    EXPECT_EQ(S().DoImageColorCorrection, 1);
    // Options of the command line alone are not read from a profile.
    EXPECT_EQ(St().InputFolder, "");
    EXPECT_FALSE(St().CommandLineInput);
    EXPECT_EQ(St().CommandLineMode, "");
}

TEST(ReadCommandLineProfileTest, EmptyValuesAreStoredAsGiven) {
    FreshRun();
    TempDir dir;
    const std::string path = dir.file("p.ini");
    WriteFile(path, "[CLI]\n--wm-text=\n--width=\n");
    ASSERT_TRUE(ReadCommandLineProfile(path));
    EXPECT_EQ(S().WmText, "");
    EXPECT_EQ(S().DoWatermark, 1);
    EXPECT_EQ(S().ImageWidth, 0);
    EXPECT_EQ(S().DoImageResize, 1);
}

TEST(ReadCommandLineProfileTest, FileWithoutGroupSetsNothing) {
    FreshRun();
    TempDir dir;
    WriteFile(dir.file("p.ini"), "--width=5\n[General]\nCFG=17\n");
    EXPECT_TRUE(ReadCommandLineProfile(dir.file("p.ini")));
    EXPECT_EQ(S().ImageWidth, 0);
    EXPECT_EQ(S().DoImageResize, 0);
}

TEST(ReadCommandLineProfileTest, UnreadablePathsAreRefused) {
    TempDir dir;
    EXPECT_FALSE(ReadCommandLineProfile(""));
    EXPECT_FALSE(ReadCommandLineProfile(dir.file("missing.ini")));
    EXPECT_FALSE(ReadCommandLineProfile(dir.path()));
}

TEST(ReadCommandLineProfileTest, ProfileAppliesAtItsPlaceInTheLoop) {
    TempDir dir;
    const std::string path = dir.file("p.ini");
    WriteFile(path, "[CLI]\n--width=100\n--height=100\n");
    FreshRun();
    CommandLineFlags flags;
    EXPECT_EQ(ParseCommandLine({"--width=10", "--profile=" + path, "--height=20"}, flags), "");
    EXPECT_EQ(S().ImageWidth, 100);  // the profile overrides what came before
    EXPECT_EQ(S().ImageHeight, 20);  // and is overridden by what comes after

    // A profile path with spaces that arrived in pieces is joined back.
    const std::string spaced = dir.file("my profile.ini");
    WriteFile(spaced, "[CLI]\n--width=77\n");
    FreshRun();
    EXPECT_EQ(ParseCommandLine({"--profile=\"" + dir.path() + "my", "profile.ini\""}, flags), "");
    EXPECT_EQ(S().ImageWidth, 77);
}

}  // namespace
}  // namespace vantor
