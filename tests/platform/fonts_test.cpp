// Fonts: which names load, sizes at 96 dpi, plain versus smooth text, and the
// underline and strike-out bars.
#include "platform/fonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

namespace vantor {
namespace {

struct LoadCase {
    const char* face;
    int64_t points;
    bool bold, italic;
    bool loads;
};

void PrintTo(const LoadCase& c, std::ostream* os) {
    *os << '"' << c.face << "\" " << c.points << "pt" << (c.bold ? " bold" : "")
        << (c.italic ? " italic" : "");
}

class LoadFontTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadFontTest, LoadsInstalledFamiliesAndTheirMetricAliasesOnly) {
    const LoadCase& c = GetParam();
    Font font;
    font.pixelSize = 99;  // a failed load must leave nothing behind
    FontRequest request{c.face, c.points, c.bold, c.italic, false, false};
    EXPECT_EQ(LoadFont(request, font), c.loads) << c.face << " " << c.points;
    EXPECT_EQ(static_cast<bool>(font), c.loads);
    if (!c.loads) {
        EXPECT_EQ(font.pixelSize, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faces, LoadFontTest,
    ::testing::Values(LoadCase{"Arial", 14, false, false, true},
                      LoadCase{"arial", 14, false, false, true},
                      LoadCase{"Arial", 14, true, true, true},
                      LoadCase{"Liberation Sans", 9, false, true, true},
                      LoadCase{"Times New Roman", 12, true, false, true},
                      LoadCase{"Courier New", 1, false, false, true},
                      LoadCase{"NoSuchFace", 14, false, false, false},  // would fall back
                      LoadCase{"sans-serif", 14, false, false, false},  // a generic, not a face
                      LoadCase{"", 14, false, false, false},
                      LoadCase{"Arial", 0, false, false, false},
                      LoadCase{"Arial", -12, false, false, false}));

TEST(LoadFontTest, ArialResolvesToItsMetricTwin) {
    Font font;
    ASSERT_TRUE(LoadFont(FontRequest{"Arial", 14}, font));
    EXPECT_EQ(font.family, "Liberation Sans");
}

TEST(MeasureTextTest, PointsAreTakenAt96Dpi) {
    Font font;
    ASSERT_TRUE(LoadFont(FontRequest{"Arial", 72}, font));
    EXPECT_DOUBLE_EQ(font.pixelSize, 96.0);
    // Liberation Sans: ascent + descent is about 1.15 em; 72 dpi would give ~83.
    TextSize size = MeasureText(font, "Hg", TextRendering::Smooth);
    EXPECT_GE(size.height, 104);
    EXPECT_LE(size.height, 114);
    // Metric-compatible with Arial: "H" advances 0.722 em.
    EXPECT_NEAR(MeasureText(font, "H", TextRendering::Smooth).width, 69, 1);
}

TEST(MeasureTextTest, WidthGrowsWithTextAndStyle) {
    Font regular, bold;
    ASSERT_TRUE(LoadFont(FontRequest{"Arial", 20}, regular));
    ASSERT_TRUE(LoadFont(FontRequest{"Arial", 20, true}, bold));
    for (TextRendering r : {TextRendering::Plain, TextRendering::Smooth}) {
        EXPECT_EQ(MeasureText(regular, "", r).width, 0);
        EXPECT_GT(MeasureText(regular, "", r).height, 0);
        EXPECT_LT(MeasureText(regular, "Hello", r).width, MeasureText(regular, "Hello world", r).width);
        EXPECT_LT(MeasureText(regular, "Hello world", r).width, MeasureText(bold, "Hello world", r).width);
    }
    EXPECT_EQ(MeasureText(Font{}, "Hello", TextRendering::Plain).width, 0);  // nothing loaded
}

TEST(MeasureTextTest, BytesThatAreNotUtf8StillMeasureAndDraw) {
    Font font;
    ASSERT_TRUE(LoadFont(FontRequest{"Arial", 20}, font));
    const std::string broken = "A\xFF\xC3(\xED\xA0\x80Z";  // stray, truncated, surrogate
    EXPECT_GT(MeasureText(font, broken, TextRendering::Smooth).width,
              MeasureText(font, "AZ", TextRendering::Smooth).width);
    Canvas canvas = CreateCanvas(200, 40);
    DrawText(canvas, font, broken, 0, 0, CanvasColor{255, 255, 255, 255}, TextRendering::Smooth);
    std::vector<uint32_t> pixels = CanvasPixels(canvas);
    EXPECT_TRUE(std::any_of(pixels.begin(), pixels.end(), [](uint32_t p) { return p != 0; }));
}

// Rows of the canvas in which every pixel across the middle of the text's
// advance is inked: only a bar drawn under or through the text fills one.
std::vector<int> FullRows(const Canvas& canvas, int from, int to) {
    std::vector<uint32_t> pixels = CanvasPixels(canvas);
    std::vector<int> rows;
    for (int y = 0; y < canvas.height; ++y) {
        bool full = true;
        for (int x = from; x < to && full; ++x) full = (pixels[y * canvas.width + x] >> 24) != 0;
        if (full) rows.push_back(y);
    }
    return rows;
}

struct EffectCase {
    bool underline, strikeOut;
    const char* name;
};

void PrintTo(const EffectCase& c, std::ostream* os) { *os << c.name; }

class TextEffectTest : public ::testing::TestWithParam<EffectCase> {};

TEST_P(TextEffectTest, BarsSitUnderOrThroughTheText) {
    const EffectCase& c = GetParam();
    Font font;
    ASSERT_TRUE(LoadFont(FontRequest{"Arial", 30, false, false, c.underline, c.strikeOut}, font));
    const std::string text = "o o o";
    TextSize size = MeasureText(font, text, TextRendering::Plain);
    Canvas canvas = CreateCanvas(size.width + 4, size.height);
    DrawText(canvas, font, text, 0, 0, CanvasColor{0, 0, 0, 255}, TextRendering::Plain);
    std::vector<int> rows = FullRows(canvas, 3, size.width - 3);
    if (!c.underline && !c.strikeOut) {
        EXPECT_TRUE(rows.empty());
        return;
    }
    ASSERT_FALSE(rows.empty());
    // The baseline of 30 pt Liberation Sans lies about 36 px down.
    if (c.underline) {
        EXPECT_GT(rows.front(), 36);
    }
    if (c.strikeOut) {
        EXPECT_LT(rows.back(), 36);
        EXPECT_GT(rows.front(), 18);
    }
}

INSTANTIATE_TEST_SUITE_P(Effects, TextEffectTest,
                         ::testing::Values(EffectCase{false, false, "None"},
                                           EffectCase{true, false, "Underline"},
                                           EffectCase{false, true, "StrikeOut"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DrawTextTest, PlainTextWritesItsAlphaDirectlySmoothTextBlends) {
    Font font;
    ASSERT_TRUE(LoadFont(FontRequest{"Arial", 24}, font));
    for (TextRendering r : {TextRendering::Plain, TextRendering::Smooth}) {
        Canvas canvas = CreateCanvas(120, 40);
        FillCanvas(canvas, CanvasColor{0, 0, 255, 40});
        DrawText(canvas, font, "Wave", 2, 2, CanvasColor{255, 255, 0, 200}, r);
        std::vector<uint32_t> pixels = CanvasPixels(canvas);
        std::sort(pixels.begin(), pixels.end());
        pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
        if (r == TextRendering::Plain) {
            // Exactly the background and the ink, nothing in between.
            EXPECT_EQ(pixels, (std::vector<uint32_t>{0x280000FF, 0xC8FFFF00}));
        } else {
            EXPECT_GT(pixels.size(), 10u);  // soft edges
        }
    }
}

}  // namespace
}  // namespace vantor
