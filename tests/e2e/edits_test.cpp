// The image edits through the real executable: sizes read back from the DDS
// header by nvddsinfo, pixels of level 0 decoded by Pillow and compared here.
#include <FreeImage.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "engine/image.h"
#include "test_support.h"

namespace vantor {
namespace {

using test::DecodeLevelZero;
using test::FixturePath;
using test::NvddsinfoField;
using test::RunShell;
using test::RunVantor;
using test::TempDir;

struct Converted {
    test::RunResult run;
    std::string dds;  // path of the output, when one was written
};

// Converts a fixture into `out` with the given options; the DDS keeps the
// fixture's name unless a mask says otherwise.
Converted Convert(const std::string& fixture, const std::vector<std::string>& options,
                  const TempDir& out, const std::string& outputName = {}) {
    TempDir home;
    std::vector<std::string> args{"-i", FixturePath(fixture), "-o", out.path()};
    args.insert(args.end(), options.begin(), options.end());
    Converted result{RunVantor(args, home.path()), {}};
    const std::string name =
        outputName.empty() ? fixture.substr(0, fixture.rfind('.')) + ".dds" : outputName;
    if (access(out.file(name).c_str(), F_OK) == 0) result.dds = out.file(name);
    return result;
}

int MipLevels(int width, int height) {
    int levels = 1;
    for (int side = std::max(width, height); side > 1; side /= 2) ++levels;
    return levels;
}

// ---------------------------------------------------------------- sizes

struct SizeCase {
    const char* name;
    const char* fixture;
    std::vector<std::string> options;
    int width, height;
};
class EditSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(EditSizeTest, HeaderShowsTheEditedSize) {
    const SizeCase& c = GetParam();
    TempDir out;
    Converted result = Convert(c.fixture, c.options, out);
    EXPECT_EQ(result.run.exitCode, 0);
    ASSERT_FALSE(result.dds.empty()) << result.run.out;
    EXPECT_NE(result.run.out.find("Files converted: 1 of 1"), std::string::npos) << result.run.out;
    EXPECT_EQ(NvddsinfoField(result.dds, "Width"), std::to_string(c.width));
    EXPECT_EQ(NvddsinfoField(result.dds, "Height"), std::to_string(c.height));
    EXPECT_EQ(NvddsinfoField(result.dds, "Mipmap count"),
              std::to_string(MipLevels(c.width, c.height)));
}

INSTANTIATE_TEST_SUITE_P(
    Options, EditSizeTest,
    ::testing::Values(
        SizeCase{"Unedited", "rgb8-1layer-101x55.psd", {}, 101, 55},
        SizeCase{"QuarterTurn", "rgb8-1layer-101x55.psd", {"--rotation=90"}, 55, 101},
        SizeCase{"ThreeQuarterTurnAdvancedKeepsSize",
                 "rgb8-1layer-101x55.psd",
                 {"--rotation=270", "--rotation-type=advanced"},
                 101,
                 55},
        SizeCase{"FullTurnLeavesIt", "rgb8-1layer-101x55.psd", {"--rotation=360"}, 101, 55},
        // 50.5 and 27.5: halves to the even side
        SizeCase{"HalfInPercent",
                 "rgb8-1layer-101x55.psd",
                 {"--width=50", "--height=50", "--width-unit=percent", "--height-unit=percent"},
                 50,
                 28},
        SizeCase{"PixelsWithAspectKept",
                 "rgb8-1layer-101x55.psd",
                 {"--width=50", "--height=1", "--keep-aspect-ratio"},
                 50,
                 27},
        SizeCase{"LargeImagesLeavesSmallerOne",
                 "rgb8-1layer-101x55.psd",
                 {"--width=200", "--height=100", "--resize-type=largeimages"},
                 101,
                 55},
        SizeCase{"RotatedThenResized",
                 "rgb8-1layer-101x55.psd",
                 {"--rotation=90", "--width=50", "--height=50", "--width-unit=percent",
                  "--height-unit=percent", "--resize-algorithm=lanczos"},
                 28,
                 50},
        // Depths FreeImage's 24-bit conversion refuses still rotate and convert.
        SizeCase{"Grey16Rotated", "gray16-raw-64x64.psd", {"--rotation=90"}, 64, 64},
        SizeCase{"Grey32RotatedAdvanced",
                 "gray32-raw-64x64.psd",
                 {"--rotation=30", "--rotation-type=advanced"},
                 64,
                 64},
        SizeCase{"Rgb96Rotated", "rgb32-raw-64x64.psd", {"--rotation=180"}, 64, 64},
        SizeCase{"Rgb48Rotated", "rgb16-raw-5x5.psd", {"--rotation=90"}, 5, 5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EditNamingTest, MaskSeesTheSizeAfterRotationAndResizing) {
    TempDir out;
    Converted result =
        Convert("rgb8-1layer-101x55.psd",
                {"--rotation=90", "--width=50", "--height=50", "--width-unit=percent",
                 "--height-unit=percent", "--filename-mask=%filename%_%width%x%height%.%ext%"},
                out, "rgb8-1layer-101x55_28x50.dds");
    ASSERT_FALSE(result.dds.empty()) << result.run.out;
    EXPECT_EQ(NvddsinfoField(result.dds, "Width"), "28");
    EXPECT_EQ(NvddsinfoField(result.dds, "Height"), "50");
}

// ---------------------------------------------------------------- pixels

// Mean absolute RGB difference between a and b, with b turned by 180
// degrees when asked.
double MeanDifference(FIBITMAP* a, FIBITMAP* b, bool turnB) {
    const unsigned w = FreeImage_GetWidth(a), h = FreeImage_GetHeight(a);
    double sum = 0;
    for (unsigned y = 0; y < h; ++y)
        for (unsigned x = 0; x < w; ++x) {
            RGBQUAD p{}, q{};
            FreeImage_GetPixelColor(a, x, y, &p);
            FreeImage_GetPixelColor(b, turnB ? w - 1 - x : x, turnB ? h - 1 - y : y, &q);
            sum += std::abs(p.rgbRed - q.rgbRed) + std::abs(p.rgbGreen - q.rgbGreen) +
                   std::abs(p.rgbBlue - q.rgbBlue);
        }
    return sum / (3.0 * w * h);
}

TEST(EditPixelsTest, BothFlipsTurnTheImageHalfway) {
    // 64 x 64: DXT1 blocks of the turned image line up with the plain one's.
    TempDir plainOut, flippedOut;
    Converted plain = Convert("rgb8-nocompat-64x64.psd", {}, plainOut);
    Converted flipped =
        Convert("rgb8-nocompat-64x64.psd", {"--flip-horizontal", "--flip-vertical"}, flippedOut);
    ASSERT_FALSE(plain.dds.empty()) << plain.run.out;
    ASSERT_FALSE(flipped.dds.empty()) << flipped.run.out;
    FiImage a = DecodeLevelZero(plain.dds, plainOut.file("plain.png"));
    FiImage b = DecodeLevelZero(flipped.dds, flippedOut.file("flipped.png"));
    ASSERT_TRUE(a && b);
    ASSERT_EQ(FreeImage_GetWidth(b.get()), 64u);
    ASSERT_EQ(FreeImage_GetHeight(b.get()), 64u);
    const double turned = MeanDifference(b.get(), a.get(), true);
    const double unturned = MeanDifference(b.get(), a.get(), false);
    EXPECT_LT(turned, 2.0);    // DXT1 rounding only
    EXPECT_GT(unturned, 6.0);  // the picture is far from symmetric: about 13
}

TEST(EditPixelsTest, GreyscaleThenThresholdGivesBlackAndWhite) {
    TempDir out;
    Converted result =
        Convert("rgb8-16layers-400x800.psd", {"--greyscale", "--threshold=128"}, out);
    ASSERT_FALSE(result.dds.empty()) << result.run.out;
    FiImage image = DecodeLevelZero(result.dds, out.file("level0.png"));
    ASSERT_TRUE(image);
    long black = 0, white = 0, other = 0;
    for (unsigned y = 0; y < FreeImage_GetHeight(image.get()); ++y)
        for (unsigned x = 0; x < FreeImage_GetWidth(image.get()); ++x) {
            RGBQUAD p{};
            FreeImage_GetPixelColor(image.get(), x, y, &p);
            const int low = std::min({p.rgbRed, p.rgbGreen, p.rgbBlue});
            const int high = std::max({p.rgbRed, p.rgbGreen, p.rgbBlue});
            if (high <= 8)
                ++black;
            else if (low >= 247)
                ++white;
            else
                ++other;
        }
    EXPECT_EQ(other, 0);
    EXPECT_GT(black, 0);
    EXPECT_GT(white, 0);
}

TEST(EditPixelsTest, InvertTurnsColoursAround) {
    TempDir plainOut, invertedOut;
    Converted plain = Convert("rgb8-nocompat-64x64.psd", {}, plainOut);
    Converted inverted = Convert("rgb8-nocompat-64x64.psd", {"--invert"}, invertedOut);
    ASSERT_FALSE(plain.dds.empty()) << plain.run.out;
    ASSERT_FALSE(inverted.dds.empty()) << inverted.run.out;
    FiImage a = DecodeLevelZero(plain.dds, plainOut.file("plain.png"));
    FiImage b = DecodeLevelZero(inverted.dds, invertedOut.file("inverted.png"));
    ASSERT_TRUE(a && b);
    double sum = 0;
    for (unsigned y = 0; y < 64; ++y)
        for (unsigned x = 0; x < 64; ++x) {
            RGBQUAD p{}, q{};
            FreeImage_GetPixelColor(a.get(), x, y, &p);
            FreeImage_GetPixelColor(b.get(), x, y, &q);
            sum += std::abs(255 - p.rgbRed - q.rgbRed) + std::abs(255 - p.rgbGreen - q.rgbGreen) +
                   std::abs(255 - p.rgbBlue - q.rgbBlue);
        }
    EXPECT_LT(sum / (3.0 * 64 * 64), 3.0);
}

}  // namespace
}  // namespace vantor
