// The watermark step: placement at the nine anchors with and without the
// frame boundary, cutting to fit, refused positions, text blocks and their
// alignment, pictures with transparency, and the font load before a batch.
#include "engine/watermark.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <ostream>

#include "core/settings.h"
#include "rgb_pixels.h"
#include "core/state.h"
#include "platform/fonts.h"
#include "test_support.h"

namespace vantor {
namespace {

using test::Near;
using test::PixelAt;
using test::Rgb;
using test::SolidImage;

using test::TempDir;

constexpr Rgb kGrey{100, 100, 100};

// Bounding box of the pixels that differ from `background`; empty when none.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    bool empty() const { return right <= left || bottom <= top; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Box&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Box& b) {
    return os << "[" << b.left << "," << b.top << " - " << b.right << "," << b.bottom << ")";
}

Box ChangedBox(const FiImage& image, Rgb background, int fromY = 0, int toY = -1) {
    const int w = static_cast<int>(FreeImage_GetWidth(image.get()));
    const int h = static_cast<int>(FreeImage_GetHeight(image.get()));
    if (toY < 0) toY = h;
    Box box{w, h, 0, 0};
    for (int y = fromY; y < toY; ++y)
        for (int x = 0; x < w; ++x)
            if (!(PixelAt(image, x, y) == background)) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
    if (box.right == 0) return {};
    return box;
}

// A picture file: opaque red, or with its left half fully transparent.
std::string WritePicture(const TempDir& dir, const std::string& name, int width, int height,
                         bool transparentLeftHalf = false, FREE_IMAGE_FORMAT format = FIF_PNG) {
    FiImage picture(FreeImage_Allocate(width, height, format == FIF_PNG ? 32 : 24));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            RGBQUAD q{0, 0, 255, static_cast<BYTE>(transparentLeftHalf && x < width / 2 ? 0 : 255)};
            FreeImage_SetPixelColor(picture.get(), x, y, &q);
        }
    const std::string path = dir.file(name);
    EXPECT_TRUE(FreeImage_Save(format, picture.get(), path.c_str(), 0));
    return path;
}

class WatermarkTest : public ::testing::Test {
protected:
    void SetUp() override { ResetSettings(true); }
    void TearDown() override {
        ReleaseWatermarkFont();
        ResetSettings(true);
    }
    TempDir mDir;
};

// ---- Anchor arithmetic -----------------------------------------------------

struct AnchorCase {
    int position;
    int64_t x, y;
};

void PrintTo(const AnchorCase& c, std::ostream* os) { *os << "position " << c.position; }

class WatermarkPositionTest : public ::testing::TestWithParam<AnchorCase> {};

TEST_P(WatermarkPositionTest, PlacesTheBoxAtItsAnchor) {
    // Area 201 x 101, watermark 50 x 20, offsets 10 / 5; centring truncates.
    WatermarkPoint at = WatermarkPosition(GetParam().position, 201, 101, 50, 20, 10, 5);
    EXPECT_EQ(at.x, GetParam().x);
    EXPECT_EQ(at.y, GetParam().y);
}

INSTANTIATE_TEST_SUITE_P(Anchors, WatermarkPositionTest,
                         ::testing::Values(AnchorCase{0, 10, 5}, AnchorCase{1, 75, 5},
                                           AnchorCase{2, 141, 5}, AnchorCase{3, 10, 40},
                                           AnchorCase{4, 75, 40}, AnchorCase{5, 141, 40},
                                           AnchorCase{6, 10, 76}, AnchorCase{7, 75, 76},
                                           AnchorCase{8, 141, 76}, AnchorCase{9, 0, 0},
                                           AnchorCase{-1, 0, 0}));

TEST(WatermarkPositionTest, CentringTruncatesTowardsZero) {
    // (10 - 25) / 2 is -7, not -8.
    EXPECT_EQ(WatermarkPosition(4, 10, 10, 25, 25, 0, 0).x, -7);
}

struct OffsetCase {
    int64_t line, block, padding;
    int alignment;
    int64_t x;
};

void PrintTo(const OffsetCase& c, std::ostream* os) {
    *os << "line " << c.line << " block " << c.block << " pad " << c.padding << " align " << c.alignment;
}

class LineOffsetTest : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(LineOffsetTest, AlignsLineInBlock) {
    const OffsetCase& c = GetParam();
    EXPECT_EQ(LineOffset(c.line, c.block, c.padding, c.alignment), c.x);
}

INSTANTIATE_TEST_SUITE_P(Alignments, LineOffsetTest,
                         ::testing::Values(OffsetCase{30, 50, 4, 0, 4}, OffsetCase{30, 50, 4, 1, 14},
                                           OffsetCase{31, 50, 4, 1, 14},  // 27 / 2 rounds up
                                           OffsetCase{30, 50, 4, 2, 24}, OffsetCase{50, 50, 4, 2, 4},
                                           OffsetCase{30, 50, 4, 3, 0},
                                           OffsetCase{60, 50, 0, 1, -5},  // halves away from zero
                                           OffsetCase{61, 50, 0, 1, -6}));

TEST(WatermarkLinesTest, SplitsAtTheBreakTokenInAnyCase) {
    EXPECT_EQ(WatermarkLines("Line one%EOL%Line two"), (std::vector<std::string>{"Line one", "Line two"}));
    EXPECT_EQ(WatermarkLines("a%eol%%Eol%b%eOl%"), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(WatermarkLines("no breaks %eo l%"), (std::vector<std::string>{"no breaks %eo l%"}));
}

// ---- Placement of a picture watermark on an image ------------------------------

struct PlaceCase {
    int position;
    bool frameBoundary;
    Box box;
};

void PrintTo(const PlaceCase& c, std::ostream* os) {
    *os << "position " << c.position << (c.frameBoundary ? " in frame" : " in image");
}

class WatermarkPlacementTest : public WatermarkTest, public ::testing::WithParamInterface<PlaceCase> {};

// Image 200 x 100, picture 30 x 20, offsets 10 / 6. With the frame boundary
// the area is the frame's inside: bands left 20, right 6, top 8, bottom 12,
// so the area is 174 x 80 from (20, 8).
TEST_P(WatermarkPlacementTest, BoxLiesWhereTheAnchorPutsIt) {
    const PlaceCase& c = GetParam();
    ConversionSettings& s = Settings();
    s.DoWatermark = 2;
    s.WmImage = WritePicture(mDir, "mark.png", 30, 20);
    s.WmImagePosition = static_cast<int8_t>(c.position);
    s.WmImageXOffset = 10;
    s.WmImageYOffset = 6;
    s.WmImageBoundary = c.frameBoundary ? 1 : 0;
    s.DoFrame = 1;  // only the boundary reads it here
    s.SolidLeft = 20, s.SolidRight = 6, s.SolidTop = 8, s.SolidBottom = 12;
    FiImage marked = DrawWatermark(SolidImage(200, 100, 24, kGrey), 200, 100);
    ASSERT_TRUE(marked);
    EXPECT_EQ(ChangedBox(marked, kGrey), c.box);
    EXPECT_EQ(PixelAt(marked, c.box.left, c.box.top), (Rgb{255, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(
    Anchors, WatermarkPlacementTest,
    ::testing::Values(PlaceCase{0, false, {10, 6, 40, 26}}, PlaceCase{1, false, {85, 6, 115, 26}},
                      PlaceCase{2, false, {160, 6, 190, 26}}, PlaceCase{3, false, {10, 40, 40, 60}},
                      PlaceCase{4, false, {85, 40, 115, 60}}, PlaceCase{5, false, {160, 40, 190, 60}},
                      PlaceCase{6, false, {10, 74, 40, 94}}, PlaceCase{7, false, {85, 74, 115, 94}},
                      PlaceCase{8, false, {160, 74, 190, 94}},
                      PlaceCase{0, true, {30, 14, 60, 34}}, PlaceCase{1, true, {92, 14, 122, 34}},
                      PlaceCase{2, true, {154, 14, 184, 34}}, PlaceCase{3, true, {30, 38, 60, 58}},
                      PlaceCase{4, true, {92, 38, 122, 58}}, PlaceCase{5, true, {154, 38, 184, 58}},
                      PlaceCase{6, true, {30, 62, 60, 82}}, PlaceCase{7, true, {92, 62, 122, 82}},
                      PlaceCase{8, true, {154, 62, 184, 82}},
                      PlaceCase{42, false, {0, 0, 30, 20}}));

TEST_F(WatermarkTest, FrameBoundaryNeedsTheFrameOn) {
    ConversionSettings& s = Settings();
    s.DoWatermark = 2;
    s.WmImage = WritePicture(mDir, "mark.png", 30, 20);
    s.WmImagePosition = 0;
    s.WmImageBoundary = 1;
    s.SolidLeft = 50;  // ignored: no frame
    FiImage marked = DrawWatermark(SolidImage(200, 100, 24, kGrey), 200, 100);
    EXPECT_EQ(ChangedBox(marked, kGrey), (Box{10, 10, 40, 30}));
}

struct CutCase {
    int position;
    Box box;
};

void PrintTo(const CutCase& c, std::ostream* os) { *os << "position " << c.position; }

class WatermarkCutTest : public WatermarkTest, public ::testing::WithParamInterface<CutCase> {};

// A picture wider and taller than the area minus its offsets is cut on the
// right and at the bottom to AW - X by AH - Y.
TEST_P(WatermarkCutTest, CutsToTheArea) {
    ConversionSettings& s = Settings();
    s.DoWatermark = 2;
    s.WmImage = WritePicture(mDir, "wide.png", 150, 30);
    s.WmImagePosition = static_cast<int8_t>(GetParam().position);
    s.WmImageXOffset = 10;
    s.WmImageYOffset = 4;
    FiImage marked = DrawWatermark(SolidImage(100, 30, 24, kGrey), 100, 30);
    ASSERT_TRUE(marked);
    EXPECT_EQ(ChangedBox(marked, kGrey), GetParam().box);
}

INSTANTIATE_TEST_SUITE_P(Anchors, WatermarkCutTest,
                         ::testing::Values(CutCase{0, {10, 4, 100, 30}},   // ends at the right edge
                                           CutCase{8, {0, 0, 90, 26}},     // starts at the left edge
                                           CutCase{4, {5, 2, 95, 28}}));

struct RefusedCase {
    int position;
    int32_t x, y;
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << "position " << c.position << " offsets " << c.x << "/" << c.y;
}

class WatermarkOutsideTest : public WatermarkTest, public ::testing::WithParamInterface<RefusedCase> {};

// A position partly outside the image is refused whole: no watermark.
TEST_P(WatermarkOutsideTest, LeavesTheImageWithoutWatermark) {
    ConversionSettings& s = Settings();
    s.DoWatermark = 2;
    s.WmImage = WritePicture(mDir, "mark.png", 30, 20);
    s.WmImagePosition = static_cast<int8_t>(GetParam().position);
    s.WmImageXOffset = GetParam().x;
    s.WmImageYOffset = GetParam().y;
    FiImage marked = DrawWatermark(SolidImage(100, 60, 32, kGrey), 100, 60);
    ASSERT_TRUE(marked);
    EXPECT_EQ(FreeImage_GetBPP(marked.get()), 24u);
    EXPECT_TRUE(ChangedBox(marked, kGrey).empty()) << ChangedBox(marked, kGrey);
}

INSTANTIATE_TEST_SUITE_P(Offsets, WatermarkOutsideTest,
                         ::testing::Values(RefusedCase{0, -5, 10}, RefusedCase{0, 10, -1},
                                           RefusedCase{8, -3, 10}, RefusedCase{2, 10, -7},
                                           RefusedCase{0, std::numeric_limits<int32_t>::min(), 0}));

TEST_F(WatermarkTest, OffsetBeyondTheAreaFailsTheFile) {
    ConversionSettings& s = Settings();
    s.DoWatermark = 2;
    s.WmImage = WritePicture(mDir, "mark.png", 30, 20);
    for (int32_t offset : {100, 250, std::numeric_limits<int32_t>::max()}) {
        s.WmImageXOffset = offset;
        EXPECT_FALSE(DrawWatermark(SolidImage(100, 60, 24, kGrey), 100, 60)) << offset;
    }
}

TEST_F(WatermarkTest, RotationTurnsThePicture) {
    ConversionSettings& s = Settings();
    s.DoWatermark = 2;
    s.WmImage = WritePicture(mDir, "mark.png", 30, 10);
    s.WmImagePosition = 0;
    s.WmImageRotation = 90;
    FiImage marked = DrawWatermark(SolidImage(100, 60, 24, kGrey), 100, 60);
    EXPECT_EQ(ChangedBox(marked, kGrey), (Box{10, 10, 20, 40}));
    s.WmImageRotation = 360;  // outside 1 to 359: not rotated
    marked = DrawWatermark(SolidImage(100, 60, 24, kGrey), 100, 60);
    EXPECT_EQ(ChangedBox(marked, kGrey), (Box{10, 10, 40, 20}));
}

// ---- Pictures -------------------------------------------------------------------

TEST_F(WatermarkTest, TransparentPartsOfThePictureStayTransparentAlsoInGrey) {
    ConversionSettings& s = Settings();
    s.DoWatermark = 2;
    s.WmImage = WritePicture(mDir, "half.png", 40, 20, true);
    s.WmImagePosition = 0;
    for (int grey : {0, 1}) {
        s.WmImageGreyscale = static_cast<int8_t>(grey);
        FiImage marked = DrawWatermark(SolidImage(100, 60, 24, kGrey), 100, 60);
        ASSERT_TRUE(marked);
        EXPECT_EQ(ChangedBox(marked, kGrey), (Box{30, 10, 50, 30})) << "greyscale " << grey;
        // (77 * 255) >> 8 for pure red.
        EXPECT_EQ(PixelAt(marked, 40, 20), grey ? (Rgb{76, 76, 76}) : (Rgb{255, 0, 0}));
    }
}

TEST_F(WatermarkTest, PictureOpacityBlendsAndPicturesWithoutAlphaAreOpaque) {
    ConversionSettings& s = Settings();
    s.DoWatermark = 2;
    s.WmImage = WritePicture(mDir, "plain.bmp", 20, 10, false, FIF_BMP);
    s.WmImagePosition = 0;
    FiImage marked = DrawWatermark(SolidImage(60, 40, 24, kGrey), 60, 40);
    EXPECT_EQ(PixelAt(marked, 15, 15), (Rgb{255, 0, 0}));
    s.WmImageOpacity = 128;
    marked = DrawWatermark(SolidImage(60, 40, 24, kGrey), 60, 40);
    const Rgb half = PixelAt(marked, 15, 15);
    EXPECT_NEAR(half.r, (128 * 255 + 127 * 100) / 255, 2);
    EXPECT_NEAR(half.g, 127 * 100 / 255, 2);
    EXPECT_EQ(ChangedBox(marked, kGrey), (Box{10, 10, 30, 20}));
}

TEST_F(WatermarkTest, UnreadablePictureLeavesThePlain24BitImage) {
    ConversionSettings& s = Settings();
    s.DoWatermark = 2;
    test::WriteFile(mDir.file("junk.png"), "\x89PNG\r\n\x1a\n this is not a picture");
    for (const std::string& path : {mDir.file("junk.png"), mDir.file("missing.png"), mDir.path(),
                                    std::string()}) {
        s.WmImage = path;
        FiImage marked = DrawWatermark(SolidImage(50, 40, 32, kGrey, 10), 50, 40);
        ASSERT_TRUE(marked) << path;
        EXPECT_EQ(FreeImage_GetBPP(marked.get()), 24u);
        EXPECT_TRUE(ChangedBox(marked, kGrey).empty()) << path;
    }
}

TEST_F(WatermarkTest, OffPassesTheSameImageOnAndUnknownTypesOnlyConvert) {
    FiImage image = SolidImage(20, 20, 32, kGrey);
    FIBITMAP* given = image.get();
    FiImage result = DrawWatermark(std::move(image), 20, 20);
    EXPECT_EQ(result.get(), given);
    Settings().DoWatermark = 3;
    result = DrawWatermark(std::move(result), 20, 20);
    ASSERT_TRUE(result);
    EXPECT_EQ(FreeImage_GetBPP(result.get()), 24u);
    EXPECT_FALSE(DrawWatermark(nullptr, 20, 20));
}

// ---- Text -----------------------------------------------------------------------

class TextWatermarkTest : public WatermarkTest {
protected:
    void SetUp() override {
        WatermarkTest::SetUp();
        ConversionSettings& s = Settings();
        s.DoWatermark = 1;
        s.WmTextPosition = 0;
        s.WmTextXOffset = 5;
        s.WmTextYOffset = 5;
        s.WmFontSize = 16;
        s.WmFontColor = "FFFFFF";
        s.WmBackColor = "0000FF";
        s.WmBackOpacity = 255;  // the block shows as a box
        State().FinalWidth = 12345;
    }
    Font MeasuringFont() {
        Font font;
        EXPECT_TRUE(LoadFont(FontRequest{Settings().WmFont, Settings().WmFontSize}, font));
        return font;
    }
    FiImage Draw(int width = 300, int height = 150) {
        EXPECT_TRUE(LoadWatermarkFont());
        return DrawWatermark(SolidImage(width, height, 24, kGrey), width, height);
    }
};

struct BlockCase {
    const char* text;
    int leading, padding;
};

void PrintTo(const BlockCase& c, std::ostream* os) {
    *os << '"' << c.text << "\" leading " << c.leading << " padding " << c.padding;
}

class TextBlockTest : public TextWatermarkTest, public ::testing::WithParamInterface<BlockCase> {};

// Block: widest line by tallest line + breaks * (tallest + leading), each at
// least 10, plus the padding on every side.
TEST_P(TextBlockTest, BlockHasTheComputedSize) {
    const BlockCase& c = GetParam();
    Settings().WmText = c.text;
    Settings().WmFontLeading = c.leading;
    Settings().WmTextPadding = c.padding;
    Font font = MeasuringFont();
    std::vector<std::string> lines = WatermarkLines(c.text);
    int widest = 10, tallest = 10;
    for (const std::string& line : lines) {
        widest = std::max(widest, MeasureText(font, line, TextRendering::Plain).width);
        tallest = std::max(tallest, MeasureText(font, line, TextRendering::Plain).height);
    }
    const int breaks = static_cast<int>(lines.size()) - 1;
    FiImage marked = Draw();
    ASSERT_TRUE(marked);
    Box box = ChangedBox(marked, kGrey);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.top, 5);
    EXPECT_EQ(box.width(), widest + 2 * c.padding);
    EXPECT_EQ(box.height(), tallest + breaks * (tallest + c.leading) + 2 * c.padding);
}

INSTANTIATE_TEST_SUITE_P(Texts, TextBlockTest,
                         ::testing::Values(BlockCase{"Line one%EOL%Line two", 4, 0},
                                           BlockCase{"Line one%eol%Line two", 0, 3},
                                           BlockCase{"A%EoL%B%eol%C", 2, 1},
                                           BlockCase{"x%EOL%", 0, 0}));

struct SingleLineCase {
    const char* text;
    const char* drawn;
};

void PrintTo(const SingleLineCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class SingleLineTest : public TextWatermarkTest, public ::testing::WithParamInterface<SingleLineCase> {};

// A line without breaks is a block of its own size. Tokens are expanded only
// when the text holds more than one "%".
TEST_P(SingleLineTest, BlockIsTheExpandedTextsOwnSize) {
    Settings().WmText = GetParam().text;
    State().FinalWidth = 12345;
    State().FinalHeight = 0;
    Font font = MeasuringFont();
    TextSize drawn = MeasureText(font, GetParam().drawn, TextRendering::Plain);
    FiImage marked = Draw();
    EXPECT_EQ(ChangedBox(marked, kGrey), (Box{5, 5, 5 + drawn.width, 5 + drawn.height}));
}

INSTANTIATE_TEST_SUITE_P(Texts, SingleLineTest,
                         ::testing::Values(SingleLineCase{"Size %width", "Size %width"},
                                           SingleLineCase{"100% %WIDTH", "100% %WIDTH"},
                                           SingleLineCase{"Size %width%", "Size 12345"},
                                           SingleLineCase{"%width%x%height%", "12345x0"}));

struct AlignCase {
    int alignment;
    bool smooth;
};

void PrintTo(const AlignCase& c, std::ostream* os) {
    *os << "alignment " << c.alignment << (c.smooth ? " smooth" : " plain");
}

class TextAlignmentTest : public TextWatermarkTest, public ::testing::WithParamInterface<AlignCase> {};

// The short first line sits at the left, in the middle or at the right of
// the block that the long second line sets.
TEST_P(TextAlignmentTest, ShorterLineMovesWithAlignment) {
    ConversionSettings& s = Settings();
    s.WmText = "II%eol%IIIIIIIIIIIIIIIIIIII";
    s.WmTextAlignment = static_cast<int8_t>(GetParam().alignment);
    s.WmTextAntialiasing = GetParam().smooth ? 1 : 0;
    s.WmBackOpacity = 0;  // only the ink shows
    s.WmTextPadding = 6;
    Font font = MeasuringFont();
    const int lineHeight = MeasureText(font, "II", TextRendering::Plain).height;
    FiImage marked = Draw();
    ASSERT_TRUE(marked);
    Box block = ChangedBox(marked, kGrey);
    Box first = ChangedBox(marked, kGrey, 0, 5 + 6 + lineHeight);
    ASSERT_FALSE(first.empty());
    const int blockMiddle = (block.left + block.right) / 2;
    const int firstMiddle = (first.left + first.right) / 2;
    switch (GetParam().alignment) {
        case 0: EXPECT_NEAR(first.left, block.left, 2); break;
        case 1: EXPECT_NEAR(firstMiddle, blockMiddle, 2); break;
        case 2: EXPECT_NEAR(first.right, block.right, 2); break;
    }
    EXPECT_LT(first.width(), block.width() / 3);
}

INSTANTIATE_TEST_SUITE_P(Alignments, TextAlignmentTest,
                         ::testing::Values(AlignCase{0, false}, AlignCase{1, false},
                                           AlignCase{2, false}, AlignCase{0, true},
                                           AlignCase{1, true}, AlignCase{2, true}));

TEST_F(TextWatermarkTest, PlainTextHasTwoColoursSmoothTextBlendsBothOpacities) {
    ConversionSettings& s = Settings();
    s.WmText = "Wave";
    s.WmFontColor = "FFFF00";
    s.WmBackColor = "000000";
    FiImage plain = Draw();
    Box box = ChangedBox(plain, kGrey);
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) {
            Rgb p = PixelAt(plain, x, y);
            ASSERT_TRUE(p == (Rgb{255, 255, 0}) || p == (Rgb{0, 0, 0})) << p;
        }

    s.WmTextAntialiasing = 1;
    s.WmBackOpacity = 128;
    s.WmTextOpacity = 255;
    FiImage smooth = Draw();
    EXPECT_EQ(ChangedBox(smooth, kGrey).left, 5);
    // Background half over grey in the block's corner: 100 * 127 / 255.
    EXPECT_NEAR(PixelAt(smooth, 5, 5).r, 50, 2);
    bool soft = false, full = false;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) {
            Rgb p = PixelAt(smooth, x, y);
            full = full || p == (Rgb{255, 255, 0});
            soft = soft || (p.r > 60 && p.r < 240);
        }
    EXPECT_TRUE(full);
    EXPECT_TRUE(soft);
}

TEST_F(TextWatermarkTest, WithoutALoadedFontTheImageGoesOnWithoutText) {
    Settings().WmText = "Hello";
    ReleaseWatermarkFont();
    FiImage marked = DrawWatermark(SolidImage(100, 50, 32, kGrey), 100, 50);
    ASSERT_TRUE(marked);
    EXPECT_EQ(FreeImage_GetBPP(marked.get()), 24u);
    EXPECT_TRUE(ChangedBox(marked, kGrey).empty());
}

TEST_F(TextWatermarkTest, ExtremeSizesSkipTheWatermarkInsteadOfFailing) {
    ConversionSettings& s = Settings();
    s.WmText = "A%eol%B";
    for (int32_t value : {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()}) {
        s.WmTextPadding = value;
        s.WmFontLeading = 0;
        FiImage marked = Draw(60, 40);
        ASSERT_TRUE(marked);
        EXPECT_TRUE(ChangedBox(marked, kGrey).empty());
        s.WmTextPadding = 0;
        s.WmFontLeading = value;
        marked = Draw(60, 40);
        ASSERT_TRUE(marked);
        EXPECT_TRUE(ChangedBox(marked, kGrey).empty());
    }
}

struct FontCase {
    const char* face;
    int32_t size;
    int8_t style, effect;
    bool loads;
};

void PrintTo(const FontCase& c, std::ostream* os) {
    *os << '"' << c.face << "\" " << c.size << " style " << int{c.style} << " effect " << int{c.effect};
}

class WatermarkFontTest : public WatermarkTest, public ::testing::WithParamInterface<FontCase> {};

TEST_P(WatermarkFontTest, LoadsFromTheSettings) {
    const FontCase& c = GetParam();
    ConversionSettings& s = Settings();
    s.WmFont = c.face;
    s.WmFontSize = c.size;
    s.WmFontStyle = c.style;
    s.WmFontEffect = c.effect;
    EXPECT_EQ(LoadWatermarkFont(), c.loads);
}

INSTANTIATE_TEST_SUITE_P(Fonts, WatermarkFontTest,
                         ::testing::Values(FontCase{"Arial", 14, 0, 0, true},
                                           FontCase{"Arial", 14, 3, 1, true},
                                           FontCase{"Arial", 8, 2, 2, true},
                                           FontCase{"NoSuchFace", 14, 0, 0, false},
                                           FontCase{"", 14, 0, 0, false},
                                           FontCase{"Arial", 0, 0, 0, false}));

TEST_F(TextWatermarkTest, FailedLoadDropsTheEarlierFont) {
    Settings().WmText = "Hello";
    ASSERT_TRUE(LoadWatermarkFont());
    Settings().WmFont = "NoSuchFace";
    ASSERT_FALSE(LoadWatermarkFont());
    FiImage marked = DrawWatermark(SolidImage(100, 50, 24, kGrey), 100, 50);
    EXPECT_TRUE(ChangedBox(marked, kGrey).empty());
}

}  // namespace
}  // namespace vantor
