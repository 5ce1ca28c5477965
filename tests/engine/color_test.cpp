// Colour correction, greyscale, threshold and output depth against the
// FreeImage calls they stand for, on small images of every depth that takes
// a different road.
#include "engine/color.h"

#include <gtest/gtest.h>

#include "core/settings.h"
#include "core/state.h"
#include "edit_images.h"
#include "engine/transform.h"

namespace vantor {
namespace {

using test::Clone;
using test::Kind;
using test::MakeImage;
using test::SameImage;

class ColorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings(true);
        ResetStateForTests();
    }
    ConversionSettings& s = Settings();
};

// The image the colour steps should hand to FreeImage: standard bitmaps as
// they are (or, for colour correction, those of 8, 24 and 32 bits), anything
// else widened to 24 bits.
bool IsBitmapKind(Kind kind) {
    return kind == Kind::Bits1 || kind == Kind::Bits4 || kind == Kind::Bits8 ||
           kind == Kind::Bits24 || kind == Kind::Bits32;
}
FiImage StepInput(Kind kind, const FiImage& image, bool adjusting) {
    const bool asIs = adjusting
                          ? kind == Kind::Bits8 || kind == Kind::Bits24 || kind == Kind::Bits32
                          : IsBitmapKind(kind);
    return asIs ? Clone(image) : test::Widened24(kind, image);
}

// ---------------------------------------------------------------- adjust

struct AdjustCase {
    Kind kind;
    unsigned bpp;  // depth that goes on
};
class AdjustTest : public ColorTest, public ::testing::WithParamInterface<AdjustCase> {};

TEST_P(AdjustTest, MatchesFreeImageAdjustColors) {
    const AdjustCase& c = GetParam();
    s.DoImageColorCorrection = 1;
    s.ImageBrightness = 20;
    s.ImageContrast = -30;
    s.ImageGamma = 1.7f;
    s.ImageInvert = 1;
    FiImage image = MakeImage(c.kind);
    FiImage expected = StepInput(c.kind, image, true);
    ASSERT_TRUE(FreeImage_AdjustColors(expected.get(), 20, -30, 1.7f, TRUE));

    FiImage result = AdjustImageColors(std::move(image));
    ASSERT_TRUE(result);
    EXPECT_EQ(FreeImage_GetBPP(result.get()), c.bpp);
    EXPECT_TRUE(SameImage(result.get(), expected.get()));
}

// 16-bit grey is widened too: FreeImage_AdjustColors refuses 16-bit images
// and would leave them untouched while the step claims success.
INSTANTIATE_TEST_SUITE_P(Depths, AdjustTest,
                         ::testing::Values(AdjustCase{Kind::Bits1, 24}, AdjustCase{Kind::Bits4, 24},
                                           AdjustCase{Kind::Bits8, 8}, AdjustCase{Kind::Grey16, 24},
                                           AdjustCase{Kind::Bits24, 24},
                                           AdjustCase{Kind::Bits32, 32},
                                           AdjustCase{Kind::Rgb48, 24},
                                           AdjustCase{Kind::Rgbf96, 24},
                                           AdjustCase{Kind::Float32, 24}),
                         [](const auto& info) { return test::KindName(info.param.kind); });

TEST_F(ColorTest, NeutralCorrectionStillWidensLowDepths) {
    s.DoImageColorCorrection = 1;
    for (Kind kind : {Kind::Bits1, Kind::Bits4}) {
        FiImage image = MakeImage(kind);
        FiImage expected(FreeImage_ConvertTo24Bits(image.get()));
        EXPECT_TRUE(SameImage(AdjustImageColors(std::move(image)).get(), expected.get()))
            << test::KindName(kind);
    }
}

TEST_F(ColorTest, InvertWorksInPlaceOnKnownPixels) {
    s.DoImageColorCorrection = 1;
    s.ImageInvert = 1;
    FiImage image = MakeImage(Kind::Bits24, 3, 1);
    RGBQUAD before = test::PixelColor(image.get(), 1, 0);
    FIBITMAP* given = image.get();
    FiImage result = AdjustImageColors(std::move(image));
    EXPECT_EQ(result.get(), given);  // no copy for a 24-bit image
    RGBQUAD after = test::PixelColor(result.get(), 1, 0);
    EXPECT_EQ(after.rgbRed, 255 - before.rgbRed);
    EXPECT_EQ(after.rgbGreen, 255 - before.rgbGreen);
    EXPECT_EQ(after.rgbBlue, 255 - before.rgbBlue);
}

// ---------------------------------------------------------------- greyscale, threshold

class GreyAndThresholdTest : public ColorTest, public ::testing::WithParamInterface<Kind> {};

TEST_P(GreyAndThresholdTest, GreyscaleMatchesFreeImage) {
    s.DoImageGreyscale = 1;
    FiImage image = MakeImage(GetParam());
    FiImage input = StepInput(GetParam(), image, false);
    FiImage expected(FreeImage_ConvertToGreyscale(input.get()));
    FiImage result = MakeGreyscale(std::move(image));
    ASSERT_TRUE(result);
    EXPECT_EQ(FreeImage_GetBPP(result.get()), 8u);
    EXPECT_TRUE(SameImage(result.get(), expected.get()));
}

TEST_P(GreyAndThresholdTest, ThresholdMatchesFreeImageWithTheLowEightBits) {
    s.DoImageThreshold = 1;
    s.ImageThreshold = 0x100 + 128;  // only 128 reaches FreeImage
    FiImage image = MakeImage(GetParam());
    FiImage input = StepInput(GetParam(), image, false);
    FiImage expected(FreeImage_Threshold(input.get(), 128));
    FiImage result = ApplyThreshold(std::move(image));
    ASSERT_TRUE(result);
    EXPECT_EQ(FreeImage_GetBPP(result.get()), 1u);
    EXPECT_TRUE(SameImage(result.get(), expected.get()));
}

INSTANTIATE_TEST_SUITE_P(Depths, GreyAndThresholdTest,
                         ::testing::Values(Kind::Bits1, Kind::Bits4, Kind::Bits8, Kind::Grey16,
                                           Kind::Bits24, Kind::Bits32, Kind::Rgb48, Kind::Rgbf96,
                                           Kind::Float32),
                         [](const auto& info) { return test::KindName(info.param); });

TEST_F(ColorTest, ThresholdSplitsKnownGreysAtTheLevel) {
    s.DoImageThreshold = 1;
    s.ImageThreshold = 100;
    FiImage image(FreeImage_Allocate(4, 1, 24));
    const BYTE greys[] = {0, 99, 100, 255};
    for (unsigned x = 0; x < 4; ++x) {
        RGBQUAD grey{greys[x], greys[x], greys[x], 0};
        FreeImage_SetPixelColor(image.get(), x, 0, &grey);
    }
    FiImage result = ApplyThreshold(std::move(image));
    ASSERT_TRUE(result);
    const int expected[] = {0, 0, 255, 255};
    for (unsigned x = 0; x < 4; ++x) {
        RGBQUAD colour =
            test::PixelColor(FiImage(FreeImage_ConvertTo24Bits(result.get())).get(), x, 0);
        EXPECT_EQ(colour.rgbRed, expected[x]) << "grey " << int(greys[x]);
    }
}

TEST_F(ColorTest, StepsSwitchedOffPassTheImageOn) {
    s.ImageInvert = 1;
    s.ImageThreshold = 128;
    for (auto step : {AdjustImageColors, MakeGreyscale, ApplyThreshold}) {
        FiImage image = MakeImage(Kind::Bits1);
        FIBITMAP* given = image.get();
        EXPECT_EQ(step(std::move(image)).get(), given);
    }
}

// ---------------------------------------------------------------- output depth

struct AutoCase {
    const char* extension;
    int32_t source, expected;
};
class AutomaticDepthTest : public ::testing::TestWithParam<AutoCase> {};

TEST_P(AutomaticDepthTest, FirstListedDepthNotBelowTheSource) {
    const AutoCase& c = GetParam();
    EXPECT_EQ(AutomaticDepth(c.extension, c.source), c.expected) << c.extension << " " << c.source;
}

INSTANTIATE_TEST_SUITE_P(Formats, AutomaticDepthTest,
                         ::testing::Values(AutoCase{"bmp", 16, 16}, AutoCase{"png", 16, 24},
                                           AutoCase{"png", 48, 48}, AutoCase{"bmp", 48, 32},
                                           AutoCase{"bmp", 0, 1}, AutoCase{"bmp", 1, 1},
                                           AutoCase{"bmp", 5, 8}, AutoCase{"dds", 1, 32},
                                           AutoCase{"dds", 128, 32}, AutoCase{"jxr", 96, 96},
                                           AutoCase{"pbm", 32, 1}, AutoCase{"xyz", 8, 0},
                                           AutoCase{"", 8, 0}, AutoCase{"DDS", 8, 0}));

using Conversion = FIBITMAP* (*)(FIBITMAP*);
struct DepthCase {
    const char* name;
    const char* extension;
    int32_t target;
    Kind kind;
    Conversion convert;  // what the named call makes of the (widened) input
    bool widenFirst;     // the row asks for a 24-bit image first
};
class OutputDepthTest : public ColorTest, public ::testing::WithParamInterface<DepthCase> {};

FIBITMAP* Dither(FIBITMAP* dib) {
    return FreeImage_Dither(dib, FID_FS);
}
FIBITMAP* Quantize(FIBITMAP* dib) {
    return FreeImage_ColorQuantizeEx(dib, FIQ_WUQUANT, 256, 0, nullptr);
}

TEST_P(OutputDepthTest, MatchesTheRowOfTheTable) {
    const DepthCase& c = GetParam();
    State().OutputExtension = c.extension;
    State().OutputBpp = c.target;
    FiImage image = MakeImage(c.kind);
    FiImage input = c.widenFirst ? FiImage(FreeImage_ConvertTo24Bits(image.get())) : Clone(image);
    FiImage expected(c.convert(input.get()));
    ASSERT_TRUE(expected);
    FiImage result = ConvertToOutputDepth(std::move(image));
    ASSERT_TRUE(result);
    EXPECT_EQ(static_cast<int32_t>(FreeImage_GetBPP(result.get())), c.target);
    EXPECT_TRUE(SameImage(result.get(), expected.get()));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OutputDepthTest,
    ::testing::Values(
        DepthCase{"Dither1", "png", 1, Kind::Bits32, Dither, false},
        DepthCase{"Four", "bmp", 4, Kind::Bits24, FreeImage_ConvertTo4Bits, false},
        DepthCase{"EightJpg", "jpg", 8, Kind::Bits24, FreeImage_ConvertTo8Bits, false},
        DepthCase{"EightJ2k", "j2k", 8, Kind::Bits32, FreeImage_ConvertTo8Bits, false},
        DepthCase{"EightJxr", "jxr", 8, Kind::Bits1, FreeImage_ConvertTo8Bits, false},
        DepthCase{"EightJp2", "jp2", 8, Kind::Bits24, FreeImage_ConvertTo8Bits, false},
        DepthCase{"EightQuantized", "png", 8, Kind::Bits24, Quantize, false},
        DepthCase{"EightQuantizedFrom32", "gif", 8, Kind::Bits32, Quantize, true},
        DepthCase{"EightQuantizedFrom1", "bmp", 8, Kind::Bits1, Quantize, true},
        DepthCase{"SixteenIco", "ico", 16, Kind::Bits24, FreeImage_ConvertTo16Bits555, false},
        DepthCase{"SixteenTga", "tga", 16, Kind::Bits32, FreeImage_ConvertTo16Bits555, false},
        DepthCase{"SixteenBmp", "bmp", 16, Kind::Bits24, FreeImage_ConvertTo16Bits565, false},
        DepthCase{"SixteenFrom48", "bmp", 16, Kind::Rgb48, FreeImage_ConvertTo16Bits565, true},
        DepthCase{"TwentyFour", "bmp", 24, Kind::Bits8, FreeImage_ConvertTo24Bits, false},
        DepthCase{"ThirtyTwo", "dds", 32, Kind::Bits24, FreeImage_ConvertTo32Bits, false},
        DepthCase{"ThirtyTwoFrom1", "dds", 32, Kind::Bits1, FreeImage_ConvertTo32Bits, false},
        DepthCase{"ThirtyTwoFrom48", "dds", 32, Kind::Rgb48, FreeImage_ConvertTo32Bits, false},
        DepthCase{"FortyEight", "png", 48, Kind::Bits24, FreeImage_ConvertToRGB16, false},
        DepthCase{"NinetySix", "tiff", 96, Kind::Bits32, FreeImage_ConvertToRGBF, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ColorTest, AutomaticDepthIsComputedPerFileAndTheFlagStays) {
    ConversionState& state = State();
    state.OutputExtension = "dds";
    state.OutputBpp = 0;
    state.AutoOutputBpp = true;
    state.SourceBpp = 8;
    FiImage result = ConvertToOutputDepth(MakeImage(Kind::Bits8));
    ASSERT_TRUE(result);
    EXPECT_EQ(FreeImage_GetBPP(result.get()), 32u);
    EXPECT_EQ(state.OutputBpp, 32);
    EXPECT_TRUE(state.AutoOutputBpp);

    state.OutputExtension = "bmp";
    state.SourceBpp = 4;
    result = ConvertToOutputDepth(MakeImage(Kind::Bits24));
    ASSERT_TRUE(result);
    EXPECT_EQ(FreeImage_GetBPP(result.get()), 4u);
    EXPECT_EQ(state.OutputBpp, 4);
}

TEST_F(ColorTest, ImageAlreadyAtTheDepthPassesUntouched) {
    State().OutputExtension = "dds";
    State().OutputBpp = 32;
    FiImage image = MakeImage(Kind::Bits32);
    FIBITMAP* given = image.get();
    EXPECT_EQ(ConvertToOutputDepth(std::move(image)).get(), given);
}

TEST_F(ColorTest, FloatImageOfThirtyTwoBitsIsNotTakenForBgra) {
    State().OutputExtension = "dds";
    State().OutputBpp = 32;
    FiImage result = ConvertToOutputDepth(MakeImage(Kind::Float32));
    ASSERT_TRUE(result);
    EXPECT_EQ(FreeImage_GetImageType(result.get()), FIT_BITMAP);
    EXPECT_EQ(FreeImage_GetBPP(result.get()), 32u);
}

TEST_F(ColorTest, DepthOutsideTheTableGivesNoImage) {
    ConversionState& state = State();
    state.OutputExtension = "dds";
    for (int32_t target : {0, 2, 12, 64, 128, -32}) {
        state.OutputBpp = target;
        EXPECT_FALSE(ConvertToOutputDepth(MakeImage(Kind::Bits24))) << target;
    }
    state.OutputExtension = "xyz";  // no depth list: automatic gives 0
    state.AutoOutputBpp = true;
    EXPECT_FALSE(ConvertToOutputDepth(MakeImage(Kind::Bits24)));
    EXPECT_EQ(state.OutputBpp, 0);
}

TEST_F(ColorTest, GreyscaleThenThresholdThenDepthGivesThirtyTwoBitBlackAndWhite) {
    s.DoImageGreyscale = 1;
    s.DoImageThreshold = 1;
    s.ImageThreshold = 128;
    State().OutputExtension = "dds";
    State().AutoOutputBpp = true;
    State().SourceBpp = 24;
    FiImage image = MakeImage(Kind::Bits24, 16, 16);
    image = MakeGreyscale(std::move(image));
    image = ApplyThreshold(std::move(image));
    ASSERT_EQ(FreeImage_GetBPP(image.get()), 1u);
    image = ConvertToOutputDepth(std::move(image));
    ASSERT_EQ(FreeImage_GetBPP(image.get()), 32u);
    int black = 0, white = 0;
    for (unsigned y = 0; y < 16; ++y)
        for (unsigned x = 0; x < 16; ++x) {
            RGBQUAD c = test::PixelColor(image.get(), x, y);
            ASSERT_TRUE(c.rgbRed == c.rgbGreen && c.rgbGreen == c.rgbBlue);
            ASSERT_TRUE(c.rgbRed == 0 || c.rgbRed == 255) << int(c.rgbRed);
            (c.rgbRed ? white : black)++;
        }
    EXPECT_GT(black, 0);
    EXPECT_GT(white, 0);
}

// ---------------------------------------------------------------- handles

TEST_F(ColorTest, EmptyHandlePassesThroughEveryStep) {
    s.DoImageColorCorrection = 1;
    s.DoImageGreyscale = 1;
    s.DoImageThreshold = 1;
    State().OutputExtension = "dds";
    State().OutputBpp = 0;
    State().AutoOutputBpp = true;
    EXPECT_FALSE(AdjustImageColors(nullptr));
    EXPECT_FALSE(MakeGreyscale(nullptr));
    EXPECT_FALSE(ApplyThreshold(nullptr));
    EXPECT_FALSE(ConvertToOutputDepth(nullptr));
    EXPECT_EQ(State().OutputBpp, 0);  // nothing to convert, nothing computed
}

TEST_F(ColorTest, ReplacingStepsReleaseTheImageTheyWereGiven) {
    s.DoImageColorCorrection = 1;
    s.DoImageGreyscale = 1;
    s.DoImageThreshold = 1;
    s.ImageThreshold = 128;
    State().OutputExtension = "png";
    const long long limit = 32 * 1024;  // one leaked 64x64 image per call is 12 KB or more
    EXPECT_LT(test::HeapGrowth([] { AdjustImageColors(MakeImage(Kind::Bits4, 64, 64)); }), limit);
    EXPECT_LT(test::HeapGrowth([] { AdjustImageColors(MakeImage(Kind::Grey16, 64, 64)); }), limit);
    EXPECT_LT(test::HeapGrowth([] { MakeGreyscale(MakeImage(Kind::Rgb48, 64, 64)); }), limit);
    EXPECT_LT(test::HeapGrowth([] { ApplyThreshold(MakeImage(Kind::Rgbf96, 64, 64)); }), limit);
    for (int32_t target : {1, 4, 8, 16, 24, 32, 48, 96, 12}) {
        State().OutputBpp = target;
        EXPECT_LT(test::HeapGrowth([] { ConvertToOutputDepth(MakeImage(Kind::Bits1, 64, 64)); }),
                  limit)
            << "target " << target;
    }
}

}  // namespace
}  // namespace vantor
