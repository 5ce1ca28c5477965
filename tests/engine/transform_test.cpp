// Rotation, resizing and flipping against the FreeImage calls they stand for,
// on small images of every depth that takes a different road.
#include "engine/transform.h"

#include <gtest/gtest.h>

#include "core/settings.h"
#include "edit_images.h"

namespace vantor {
namespace {

using test::Clone;
using test::Kind;
using test::MakeImage;
using test::SameImage;

class TransformTest : public ::testing::Test {
protected:
    void SetUp() override { ResetSettings(true); }
    ConversionSettings& s = Settings();
};

// ---------------------------------------------------------------- colours

struct HexCase {
    const char* text;
    uint32_t value;
};
class ColorFromHexTest : public ::testing::TestWithParam<HexCase> {};

TEST_P(ColorFromHexTest, ReadsRedGreenBluePairs) {
    EXPECT_EQ(ColorFromHex(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Texts, ColorFromHexTest,
                         ::testing::Values(HexCase{"FF0000", 0x0000FF}, HexCase{"00ff00", 0x00FF00},
                                           HexCase{"0000FF", 0xFF0000}, HexCase{"123456", 0x563412},
                                           HexCase{"aBcDeF", 0xEFCDAB}, HexCase{"FFFFFF", 0xFFFFFF},
                                           // any other length, or anything but hex digits, is black
                                           HexCase{"", 0}, HexCase{"FFFFF", 0},
                                           HexCase{"FFFFFFF", 0}, HexCase{"#FFFFF", 0},
                                           HexCase{"12345G", 0}, HexCase{" 12345", 0},
                                           HexCase{"-12345", 0}));

// ---------------------------------------------------------------- sizes

struct FilterCase {
    int index;
    int filter;
};
class ResizeFilterTest : public TransformTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(ResizeFilterTest, MapsDialogIndexToFreeImageFilter) {
    s.ImageResizeAlgorithm = static_cast<int8_t>(GetParam().index);
    EXPECT_EQ(ResizeFilter(), GetParam().filter) << "index " << GetParam().index;
}

INSTANTIATE_TEST_SUITE_P(
    Indexes, ResizeFilterTest,
    ::testing::Values(FilterCase{0, FILTER_BOX}, FilterCase{1, FILTER_BILINEAR},
                      FilterCase{2, FILTER_BSPLINE}, FilterCase{3, FILTER_BICUBIC},
                      FilterCase{4, FILTER_CATMULLROM}, FilterCase{5, FILTER_LANCZOS3},
                      FilterCase{6, FILTER_BICUBIC}, FilterCase{-1, FILTER_BICUBIC},
                      FilterCase{127, FILTER_BICUBIC}));

struct ScaledCase {
    int32_t value, unit, size, expected;
};
class ScaledSizeTest : public ::testing::TestWithParam<ScaledCase> {};

TEST_P(ScaledSizeTest, GivesPixelsForOneSide) {
    const ScaledCase& c = GetParam();
    EXPECT_EQ(ScaledSize(c.value, c.unit, c.size), c.expected)
        << c.value << " unit " << c.unit << " of " << c.size;
}

INSTANTIATE_TEST_SUITE_P(
    Values, ScaledSizeTest,
    ::testing::Values(ScaledCase{300, 0, 1000, 300}, ScaledCase{-4, 0, 1000, -4},
                      ScaledCase{50, 1, 101, 50},  // 50.5: halves go to the even side
                      ScaledCase{50, 1, 51, 26},   // 25.5
                      ScaledCase{50, 1, 55, 28},   // 27.5
                      ScaledCase{29, 1, 50, 14},   // 14.5, exact despite 0.29 in binary
                      ScaledCase{7, 1, 50, 4},     // 3.5
                      ScaledCase{33, 1, 100, 33}, ScaledCase{1, 1, 49, 0},  // 0.49
                      ScaledCase{200, 1, 7, 14}, ScaledCase{-50, 1, 101, -50},
                      ScaledCase{50, 2, 100, 0}, ScaledCase{50, -1, 100, 0},
                      ScaledCase{2147483647, 1, 2147483647, 2147483647}));  // clamped

struct ResizeCase {
    const char* name;
    int width, height;
    int32_t targetWidth, widthUnit, targetHeight, heightUnit;
    int keepAspect, resizeType;
    int expectedWidth, expectedHeight;  // 0: the image is passed on untouched
};
class ResizeSizeTest : public TransformTest, public ::testing::WithParamInterface<ResizeCase> {};

TEST_P(ResizeSizeTest, FollowsSizeRules) {
    const ResizeCase& c = GetParam();
    s.DoImageResize = 1;
    s.ImageWidth = c.targetWidth;
    s.ImageWidthUnit = static_cast<int8_t>(c.widthUnit);
    s.ImageHeight = c.targetHeight;
    s.ImageHeightUnit = static_cast<int8_t>(c.heightUnit);
    s.KeepAspectRatio = static_cast<int8_t>(c.keepAspect);
    s.ImageResizeType = static_cast<int8_t>(c.resizeType);
    FiImage image = MakeImage(Kind::Bits24, c.width, c.height);
    FIBITMAP* given = image.get();
    FiImage copy = Clone(image);

    FiImage result = ResizeImage(std::move(image), c.width, c.height);
    if (c.expectedWidth == 0) {
        EXPECT_EQ(result.get(), given) << "expected the same image back";
        return;
    }
    ASSERT_TRUE(result);
    EXPECT_EQ(ImageWidth(result), c.expectedWidth);
    EXPECT_EQ(ImageHeight(result), c.expectedHeight);
    FiImage expected(
        FreeImage_Rescale(copy.get(), c.expectedWidth, c.expectedHeight, FILTER_BICUBIC));
    EXPECT_TRUE(SameImage(result.get(), expected.get()));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ResizeSizeTest,
    ::testing::Values(
        ResizeCase{"HalfOddSize", 101, 51, 50, 1, 50, 1, 0, 0, 50, 26},
        ResizeCase{"HalfOddSizeAspectKept", 101, 51, 50, 1, 50, 1, 1, 0, 50, 25},
        ResizeCase{"AspectFromWidth", 1000, 500, 300, 0, 1, 0, 1, 0, 300, 150},
        ResizeCase{"AspectFromHeight", 50, 100, 1, 0, 30, 0, 1, 0, 15, 30},
        ResizeCase{"AspectHalfAwayFromZero", 8, 2, 10, 0, 9, 0, 1, 0, 10, 3},  // 10 / 4 = 2.5
        ResizeCase{"AspectRoundsToNearest", 8, 3, 3, 0, 9, 0, 1, 0, 3, 1},     // 3 / 2.667
        ResizeCase{"ZeroHeightLeavesIt", 1000, 500, 300, 0, 0, 0, 1, 0, 0, 0},
        ResizeCase{"NegativeWidthLeavesIt", 100, 100, -5, 0, 50, 0, 0, 0, 0, 0},
        ResizeCase{"UnknownUnitLeavesIt", 100, 100, 50, 2, 50, 0, 0, 0, 0, 0},
        ResizeCase{"SameSizeLeavesIt", 100, 50, 100, 0, 50, 0, 0, 0, 0, 0},
        ResizeCase{"HundredPercentLeavesIt", 100, 50, 100, 1, 100, 1, 1, 0, 0, 0},
        ResizeCase{"LargeImagesSmallerOnOneSide", 100, 100, 200, 0, 50, 0, 0, 1, 200, 50},
        ResizeCase{"LargeImagesSmallerOnOneSideAspectKept", 100, 100, 200, 0, 50, 0, 1, 1, 200,
                   200},
        ResizeCase{"LargeImagesSmallerOnBothSides", 100, 100, 200, 0, 200, 0, 0, 1, 0, 0},
        ResizeCase{"AllImagesEnlarged", 100, 100, 200, 0, 200, 0, 0, 0, 200, 200},
        // A side derived below one pixel would make FreeImage fail and lose
        // the file; it stays one pixel instead.
        ResizeCase{"DerivedSideAtLeastOnePixel", 1000, 2, 100, 0, 10, 0, 1, 0, 100, 1},
        ResizeCase{"DerivedWidthAtLeastOnePixel", 2, 1000, 10, 0, 100, 0, 1, 0, 1, 100}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TransformTest, ResizeUsesTheChosenFilterOnEveryDepth) {
    s.DoImageResize = 1;
    s.ImageWidth = 11;
    s.ImageHeight = 3;
    for (int algorithm : {0, 1, 2, 3, 4, 5}) {
        s.ImageResizeAlgorithm = static_cast<int8_t>(algorithm);
        for (Kind kind : {Kind::Bits1, Kind::Bits4, Kind::Bits8, Kind::Grey16, Kind::Bits24,
                          Kind::Bits32, Kind::Rgb48}) {
            SCOPED_TRACE(std::string(test::KindName(kind)) + " filter " +
                         std::to_string(algorithm));
            FiImage image = MakeImage(kind);
            FiImage expected(FreeImage_Rescale(image.get(), 11, 3,
                                               static_cast<FREE_IMAGE_FILTER>(ResizeFilter())));
            FiImage result = ResizeImage(std::move(image), 7, 5);
            EXPECT_TRUE(SameImage(result.get(), expected.get()));
        }
    }
}

TEST_F(TransformTest, ResizeOffPassesTheImageOn) {
    s.ImageWidth = 10;
    s.ImageHeight = 10;
    FiImage image = MakeImage(Kind::Bits24);
    FIBITMAP* given = image.get();
    EXPECT_EQ(ResizeImage(std::move(image), 7, 5).get(), given);
}

TEST_F(TransformTest, ATargetBeyondMemoryFailsTheFileInsteadOfTryingIt) {
    s.DoImageResize = 1;
    s.ImageWidth = 2000000;
    s.ImageHeight = 2000000;  // 16 TB of pixels
    EXPECT_EQ(ResizeImage(MakeImage(Kind::Bits24), 7, 5), nullptr);
}

// ---------------------------------------------------------------- rotation

TEST_F(TransformTest, AnglesOutsideOneTo359LeaveTheImageWithoutConversion) {
    s.DoImageRotation = 1;
    for (int type : {0, 1})
        for (int angle : {0, 360, 361, 720, -90, -1}) {
            SCOPED_TRACE("type " + std::to_string(type) + " angle " + std::to_string(angle));
            s.ImageRotationType = static_cast<int8_t>(type);
            s.ImageRotation = angle;
            FiImage image = MakeImage(Kind::Bits1);
            FIBITMAP* given = image.get();
            FiImage result = RotateImage(std::move(image));
            EXPECT_EQ(result.get(), given);
            EXPECT_EQ(FreeImage_GetBPP(result.get()), 1u);
        }
}

TEST_F(TransformTest, RotationOffPassesTheImageOn) {
    s.ImageRotation = 90;
    FiImage image = MakeImage(Kind::Bits8);
    FIBITMAP* given = image.get();
    EXPECT_EQ(RotateImage(std::move(image)).get(), given);
}

TEST_F(TransformTest, UnknownRotationTypeOnlyWidensToTwentyFourBits) {
    s.DoImageRotation = 1;
    s.ImageRotation = 90;
    s.ImageRotationType = 2;
    FiImage image = MakeImage(Kind::Bits8);
    FiImage expected(FreeImage_ConvertTo24Bits(image.get()));
    EXPECT_TRUE(SameImage(RotateImage(std::move(image)).get(), expected.get()));

    FiImage wide = MakeImage(Kind::Bits32);
    FIBITMAP* given = wide.get();
    EXPECT_EQ(RotateImage(std::move(wide)).get(), given);
}

// What the rotation should see: the image widened to 24 bits unless it is a
// 24 or 32-bit bitmap already.
FiImage ExpectedRotationInput(Kind kind, const FiImage& image) {
    if (kind == Kind::Bits24 || kind == Kind::Bits32) return Clone(image);
    return test::Widened24(kind, image);
}

struct RotateCase {
    Kind kind;
    int type;
    int angle;
    unsigned bpp;
};
class RotateDepthTest : public TransformTest, public ::testing::WithParamInterface<RotateCase> {};

TEST_P(RotateDepthTest, MatchesFreeImageRotationOfTheWidenedImage) {
    const RotateCase& c = GetParam();
    s.DoImageRotation = 1;
    s.ImageRotation = c.angle;
    s.ImageRotationType = static_cast<int8_t>(c.type);
    s.ImageRotationBackColor = "102030";
    FiImage image = MakeImage(c.kind);
    FiImage input = ExpectedRotationInput(c.kind, image);
    ASSERT_TRUE(input);
    RGBQUAD back{};
    back.rgbRed = 0x10;
    back.rgbGreen = 0x20;
    back.rgbBlue = 0x30;
    FiImage expected(
        c.type == 0 ? FreeImage_Rotate(input.get(), c.angle, &back)
                    : FreeImage_RotateEx(input.get(), c.angle, 0.0, 0.0, 7 / 2.0, 5 / 2.0, FALSE));

    FiImage result = RotateImage(std::move(image));
    ASSERT_TRUE(result) << "the image was lost";
    EXPECT_EQ(FreeImage_GetImageType(result.get()), FIT_BITMAP);
    EXPECT_EQ(FreeImage_GetBPP(result.get()), c.bpp);
    EXPECT_TRUE(SameImage(result.get(), expected.get()));
    if (c.type == 1) {
        EXPECT_EQ(ImageWidth(result), 7);  // advanced rotation keeps the size
        EXPECT_EQ(ImageHeight(result), 5);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Depths, RotateDepthTest,
    ::testing::Values(RotateCase{Kind::Bits1, 0, 30, 24}, RotateCase{Kind::Bits4, 0, 30, 24},
                      RotateCase{Kind::Bits8, 0, 90, 24}, RotateCase{Kind::Grey16, 0, 45, 24},
                      RotateCase{Kind::Bits24, 0, 359, 24}, RotateCase{Kind::Bits32, 0, 1, 32},
                      RotateCase{Kind::Rgb48, 0, 200, 24}, RotateCase{Kind::Rgbf96, 0, 30, 24},
                      RotateCase{Kind::Float32, 0, 30, 24}, RotateCase{Kind::Bits1, 1, 30, 24},
                      RotateCase{Kind::Bits8, 1, 90, 24}, RotateCase{Kind::Grey16, 1, 45, 24},
                      RotateCase{Kind::Bits24, 1, 180, 24}, RotateCase{Kind::Bits32, 1, 10, 32},
                      RotateCase{Kind::Rgb48, 1, 270, 24}, RotateCase{Kind::Float32, 1, 30, 24}),
    [](const auto& info) {
        return std::string(test::KindName(info.param.kind)) +
               (info.param.type == 0 ? "Simple" : "Advanced") + std::to_string(info.param.angle);
    });

TEST_F(TransformTest, QuarterTurnSwapsSidesAndMovesPixels) {
    s.DoImageRotation = 1;
    s.ImageRotation = 90;
    FiImage image = MakeImage(Kind::Bits24, 3, 2);
    FiImage copy = Clone(image);
    FiImage result = RotateImage(std::move(image));
    ASSERT_TRUE(result);
    EXPECT_EQ(ImageWidth(result), 2);
    EXPECT_EQ(ImageHeight(result), 3);
    // FreeImage turns counter-clockwise in its bottom-up coordinates: the
    // source pixel (x, y) lands at (height - 1 - y, x).
    for (unsigned y = 0; y < 2; ++y)
        for (unsigned x = 0; x < 3; ++x) {
            RGBQUAD from = test::PixelColor(copy.get(), x, y);
            RGBQUAD to = test::PixelColor(result.get(), 1 - y, x);
            EXPECT_EQ(from.rgbRed, to.rgbRed);
            EXPECT_EQ(from.rgbGreen, to.rgbGreen);
            EXPECT_EQ(from.rgbBlue, to.rgbBlue);
        }
}

TEST_F(TransformTest, SimpleRotationFillsCornersWithTheBackColour) {
    s.DoImageRotation = 1;
    s.ImageRotation = 45;
    s.ImageRotationBackColor = "FF8000";  // orange: red, green and blue all differ
    for (Kind kind : {Kind::Bits24, Kind::Bits32}) {
        SCOPED_TRACE(test::KindName(kind));
        FiImage result = RotateImage(MakeImage(kind, 8, 8));
        ASSERT_TRUE(result);
        RGBQUAD corner = test::PixelColor(result.get(), 0, 0);
        EXPECT_EQ(corner.rgbRed, 0xFF);
        EXPECT_EQ(corner.rgbGreen, 0x80);
        EXPECT_EQ(corner.rgbBlue, 0x00);
        if (kind == Kind::Bits32) {
            EXPECT_EQ(corner.rgbReserved, 0);  // transparent
        }
    }
}

TEST_F(TransformTest, MalformedBackColourFillsBlack) {
    s.DoImageRotation = 1;
    s.ImageRotation = 45;
    s.ImageRotationBackColor = "FFFFFZ";
    FiImage result = RotateImage(MakeImage(Kind::Bits24, 8, 8));
    ASSERT_TRUE(result);
    RGBQUAD corner = test::PixelColor(result.get(), 0, 0);
    EXPECT_EQ(corner.rgbRed + corner.rgbGreen + corner.rgbBlue, 0);
}

// ---------------------------------------------------------------- flipping

struct FlipCase {
    Kind kind;
    bool horizontal, vertical;
};
// The stored value of one pixel, whatever the depth.
std::string PixelBytes(FIBITMAP* dib, unsigned x, unsigned y) {
    const unsigned bpp = FreeImage_GetBPP(dib);
    if (bpp < 8) {
        BYTE index = 0;
        FreeImage_GetPixelIndex(dib, x, y, &index);
        return std::string(1, static_cast<char>(index));
    }
    const char* line = reinterpret_cast<const char*>(FreeImage_GetScanLine(dib, y));
    return std::string(line + x * (bpp / 8), bpp / 8);
}

class FlipTest : public TransformTest, public ::testing::WithParamInterface<FlipCase> {};

TEST_P(FlipTest, MirrorsInPlace) {
    const FlipCase& c = GetParam();
    s.DoImageFlipHorizontal = c.horizontal;
    s.DoImageFlipVertical = c.vertical;
    FiImage image = MakeImage(c.kind);
    FiImage copy = Clone(image);
    FlipImage(image.get());
    ASSERT_EQ(FreeImage_GetBPP(image.get()), FreeImage_GetBPP(copy.get()));
    for (unsigned y = 0; y < 5; ++y)
        for (unsigned x = 0; x < 7; ++x)
            EXPECT_EQ(PixelBytes(image.get(), x, y),
                      PixelBytes(copy.get(), c.horizontal ? 6 - x : x, c.vertical ? 4 - y : y))
                << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    Directions, FlipTest,
    ::testing::Values(FlipCase{Kind::Bits24, false, false}, FlipCase{Kind::Bits24, true, false},
                      FlipCase{Kind::Bits24, false, true}, FlipCase{Kind::Bits24, true, true},
                      FlipCase{Kind::Bits1, true, true}, FlipCase{Kind::Bits4, true, false},
                      FlipCase{Kind::Bits8, false, true}, FlipCase{Kind::Bits32, true, true},
                      FlipCase{Kind::Grey16, true, true}),
    [](const auto& info) {
        return std::string(test::KindName(info.param.kind)) +
               (info.param.horizontal ? "Horizontal" : "") +
               (info.param.vertical ? "Vertical" : "") +
               (info.param.horizontal || info.param.vertical ? "" : "Off");
    });

TEST_F(TransformTest, BothFlipsTurnTheImageHalfway) {
    s.DoImageFlipHorizontal = 1;
    s.DoImageFlipVertical = 1;
    FiImage image = MakeImage(Kind::Bits32);
    RGBQUAD back{};
    FiImage turned(FreeImage_Rotate(image.get(), 180, &back));
    FlipImage(image.get());
    EXPECT_TRUE(SameImage(image.get(), turned.get()));
}

// ---------------------------------------------------------------- handles

TEST_F(TransformTest, EmptyHandlePassesThroughEveryStep) {
    s.DoImageRotation = 1;
    s.ImageRotation = 90;
    s.DoImageResize = 1;
    s.ImageWidth = 10;
    s.ImageHeight = 10;
    s.DoImageFlipHorizontal = 1;
    s.DoImageFlipVertical = 1;
    EXPECT_FALSE(RotateImage(nullptr));
    EXPECT_FALSE(ResizeImage(nullptr, 0, 0));
    EXPECT_FALSE(ResizeImage(nullptr, 100, 100));
    FlipImage(nullptr);
    EXPECT_FALSE(To24Bits(nullptr));
}

TEST_F(TransformTest, ReplacingStepsReleaseTheImageTheyWereGiven) {
    s.DoImageRotation = 1;
    s.ImageRotation = 30;
    s.DoImageResize = 1;
    s.ImageWidth = 50;
    s.ImageHeight = 50;
    s.KeepAspectRatio = 1;
    for (int type : {0, 1}) {
        s.ImageRotationType = static_cast<int8_t>(type);
        // the 8-bit image is widened first: two replacements in one call
        EXPECT_LT(test::HeapGrowth([] { RotateImage(MakeImage(Kind::Bits8, 64, 64)); }), 32 * 1024)
            << "rotation type " << type;
    }
    EXPECT_LT(test::HeapGrowth([] { RotateImage(MakeImage(Kind::Grey16, 64, 64)); }), 32 * 1024);
    EXPECT_LT(test::HeapGrowth([] { ResizeImage(MakeImage(Kind::Bits32, 64, 64), 64, 64); }),
              32 * 1024);
    EXPECT_LT(test::HeapGrowth([] { To24Bits(MakeImage(Kind::Rgbf96, 64, 64)); }), 32 * 1024);
}

}  // namespace
}  // namespace vantor
