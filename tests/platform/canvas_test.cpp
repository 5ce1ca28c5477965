// Drawing canvases: path strings, fills, the straight-alpha hand-over and the
// channel-replacing copy that the watermark picture goes through.
#include "platform/canvas.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>

namespace vantor {
namespace {

uint32_t PixelAt(const Canvas& canvas, int x, int y) {
    return CanvasPixels(canvas)[static_cast<size_t>(y) * canvas.width + x];
}

int Alpha(uint32_t argb) { return static_cast<int>(argb >> 24); }

struct SizeCase {
    int64_t width, height;
    bool made;
};

void PrintTo(const SizeCase& c, std::ostream* os) { *os << c.width << "x" << c.height; }

class CreateCanvasTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(CreateCanvasTest, MakesTransparentCanvasOnlyForUsableSizes) {
    const SizeCase& c = GetParam();
    Canvas canvas = CreateCanvas(c.width, c.height);
    ASSERT_EQ(static_cast<bool>(canvas), c.made);
    if (!c.made) {
        // An empty canvas is harmless everywhere.
        FillCanvas(canvas, CanvasColor{1, 2, 3, 4});
        EXPECT_TRUE(CanvasPixels(canvas).empty());
        return;
    }
    for (uint32_t pixel : CanvasPixels(canvas)) ASSERT_EQ(pixel, 0u);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CreateCanvasTest,
                         ::testing::Values(SizeCase{1, 1, true}, SizeCase{32767, 1, true},
                                           SizeCase{0, 5, false}, SizeCase{5, -1, false},
                                           SizeCase{32768, 1, false},
                                           SizeCase{int64_t{1} << 40, 1, false}));

struct PathCase {
    const char* commands;
    bool parses;
};

void PrintTo(const PathCase& c, std::ostream* os) { *os << '"' << c.commands << '"'; }

class PathStringTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathStringTest, ParsesOnlyWellFormedCommands) {
    Canvas canvas = CreateCanvas(20, 20);
    CanvasPainter painter(canvas);
    ASSERT_TRUE(painter.Ready());
    EXPECT_EQ(painter.AddPath(GetParam().commands), GetParam().parses) << GetParam().commands;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, PathStringTest,
    ::testing::Values(PathCase{"M 0 0 l 10 0 l -5 5 l -3 0 Z", true},
                      PathCase{"M 0 0 l --5 0 l 0 5 Z", true},  // a subtracted negative
                      PathCase{"M  1  2   l 3 4 Z", true}, PathCase{"", true},
                      PathCase{"M 0 0 Z l 1 1 Z", true},
                      PathCase{"l 1 1", false},  // no start point
                      PathCase{"Z", false}, PathCase{"M 0", false}, PathCase{"M 0 x", false},
                      PathCase{"M 1.5 2", false}, PathCase{"L 1 2", false},
                      PathCase{"M 1 2 l 3", false},
                      PathCase{"M 99999999999999999999999 0", false},
                      PathCase{"M - 0", false}));

TEST(CanvasPainterTest, FillsPathStringShapeWithSolidColourAndSoftEdges) {
    Canvas canvas = CreateCanvas(20, 20);
    CanvasPainter painter(canvas);
    painter.SetFill(CanvasColor{255, 0, 0, 255});
    // Right triangle (0,0) (20,0) (0,20): its hypotenuse crosses pixels.
    ASSERT_TRUE(painter.AddPath("M 0 0 l 20 0 l -20 20 Z"));
    painter.FillPath();
    EXPECT_EQ(PixelAt(canvas, 2, 2), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(canvas, 17, 17), 0u);
    // A pixel on the diagonal is partly covered.
    const int edge = Alpha(PixelAt(canvas, 10, 9));
    EXPECT_GT(edge, 0);
    EXPECT_LT(edge, 255);
    EXPECT_EQ(PixelAt(canvas, 10, 9) & 0xFFFFFF, 0xFF0000u);  // straight colour stays pure
}

TEST(CanvasPainterTest, HardEdgesWithoutAntialiasing) {
    Canvas canvas = CreateCanvas(20, 20);
    CanvasPainter painter(canvas);
    painter.SetFill(CanvasColor{0, 0, 255, 255});
    ASSERT_TRUE(painter.AddPath("M 0 0 l 20 0 l -20 20 Z"));
    painter.FillPath(false);
    for (uint32_t pixel : CanvasPixels(canvas)) ASSERT_TRUE(Alpha(pixel) == 0 || Alpha(pixel) == 255);
}

TEST(CanvasTest, PixelsRoundTripWithStraightAlpha) {
    const std::vector<uint32_t> pixels = {0xFF102030, 0x80FF8040, 0x00000000, 0x40C0C0C0,
                                          0xFFFFFFFF, 0x01000000};
    Canvas canvas = CanvasFromPixels(3, 2, pixels);
    ASSERT_TRUE(canvas);
    std::vector<uint32_t> back = CanvasPixels(canvas);
    ASSERT_EQ(back.size(), pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i) {
        EXPECT_EQ(Alpha(back[i]), Alpha(pixels[i])) << i;
        // Premultiplied storage rounds colours of half-transparent pixels only a little.
        for (int shift : {0, 8, 16}) {
            const int want = (pixels[i] >> shift) & 0xFF, got = (back[i] >> shift) & 0xFF;
            EXPECT_LE(std::abs(want - got), Alpha(pixels[i]) >= 64 ? 2 : 255) << i;
        }
    }
    EXPECT_FALSE(CanvasFromPixels(3, 3, pixels));  // wrong pixel count
}

TEST(CanvasTest, DrawCanvasScalesAlphaByOpacity) {
    Canvas source = CreateCanvas(4, 4);
    FillCanvas(source, CanvasColor{0, 255, 0, 255});
    for (int64_t opacity : {0, 128, 255, 1000, -5}) {
        Canvas target = CreateCanvas(4, 4);
        DrawCanvas(target, source, 0, 0, opacity);
        const int expected = opacity < 0 ? 0 : opacity > 255 ? 255 : static_cast<int>(opacity);
        EXPECT_NEAR(Alpha(PixelAt(target, 1, 1)), expected, 1) << opacity;
    }
}

TEST(CanvasTest, CopyReplacesEveryChannelAndAppliesFilter) {
    Canvas source = CanvasFromPixels(2, 1, {0x00FF0000, 0xFF00FF00});  // transparent, green
    Canvas target = CreateCanvas(2, 1);
    FillCanvas(target, CanvasColor{0, 0, 0, 255});  // opaque black underneath
    CopyCanvas(target, source, 255);
    EXPECT_EQ(Alpha(PixelAt(target, 0, 0)), 0);  // replaced, not blended over black
    EXPECT_EQ(PixelAt(target, 1, 0), 0xFF00FF00u);

    CopyCanvas(target, source, 128, [](uint32_t argb) { return (argb & 0xFF000000) | 0x0000FF; });
    EXPECT_EQ(Alpha(PixelAt(target, 0, 0)), 0);
    EXPECT_EQ(Alpha(PixelAt(target, 1, 0)), 128);
    EXPECT_EQ(PixelAt(target, 1, 0) & 0xFFFFFF, 0x0000FFu);
}

}  // namespace
}  // namespace vantor
