// The frame step: mitred corners, untouched centre, opacity, the 24-bit
// conversion that any frame type brings, and band sizes of any value.
#include "engine/frame.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <ostream>

#include "core/settings.h"
#include "rgb_pixels.h"

namespace vantor {
namespace {

using test::Near;
using test::PixelAt;
using test::Rgb;
using test::SolidImage;

constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kTop{255, 0, 0}, kRight{0, 255, 0}, kBottom{0, 0, 255}, kLeft{255, 255, 0};

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings(true);
        ConversionSettings& s = Settings();
        s.DoFrame = 1;
        s.SolidLeft = s.SolidRight = s.SolidTop = s.SolidBottom = 10;
        s.SolidTopColor = "FF0000";
        s.SolidRightColor = "00FF00";
        s.SolidBottomColor = "0000FF";
        s.SolidLeftColor = "ffff00";
    }
    void TearDown() override { ResetSettings(true); }
};

struct Probe {
    int x, y;
    Rgb colour;
    const char* where;
};

void PrintTo(const Probe& p, std::ostream* os) { *os << p.where << " (" << p.x << "," << p.y << ")"; }

class FrameCornerTest : public FrameTest, public ::testing::WithParamInterface<Probe> {};

// Each corner square is split along its diagonal; each half lies along its
// own band's edge.
TEST_P(FrameCornerTest, CornerSquaresAreSplitAlongTheirDiagonals) {
    const Probe& p = GetParam();
    FiImage framed = DrawFrame(SolidImage(100, 100, 24, kGrey), 100, 100);
    ASSERT_TRUE(framed);
    EXPECT_TRUE(Near(PixelAt(framed, p.x, p.y), p.colour, 0))
        << PixelAt(framed, p.x, p.y) << " wanted " << p.colour;
}

INSTANTIATE_TEST_SUITE_P(
    Probes, FrameCornerTest,
    ::testing::Values(Probe{7, 2, kTop, "top-left above diagonal"},
                      Probe{2, 7, kLeft, "top-left below diagonal"},
                      Probe{92, 2, kTop, "top-right above diagonal"},
                      Probe{97, 7, kRight, "top-right below diagonal"},
                      Probe{97, 92, kRight, "bottom-right above diagonal"},
                      Probe{92, 97, kBottom, "bottom-right below diagonal"},
                      Probe{2, 92, kLeft, "bottom-left above diagonal"},
                      Probe{7, 97, kBottom, "bottom-left below diagonal"},
                      Probe{50, 5, kTop, "top band"}, Probe{95, 50, kRight, "right band"},
                      Probe{50, 95, kBottom, "bottom band"}, Probe{5, 50, kLeft, "left band"},
                      Probe{50, 0, kTop, "top edge"}, Probe{99, 50, kRight, "right edge"}));

TEST_F(FrameTest, InnerAreaIsUntouchedAndDiagonalIsSoft) {
    FiImage framed = DrawFrame(SolidImage(100, 100, 24, kGrey), 100, 100);
    ASSERT_TRUE(framed);
    EXPECT_EQ(FreeImage_GetBPP(framed.get()), 24u);
    for (int y = 10; y < 90; ++y)
        for (int x = 10; x < 90; ++x)
            ASSERT_TRUE(Near(PixelAt(framed, x, y), kGrey, 0)) << x << "," << y;
    // A pixel that the top-left diagonal crosses mixes the two band colours.
    Rgb seam = PixelAt(framed, 4, 4);
    EXPECT_EQ(seam.r, 255);
    EXPECT_GT(seam.g, 0);
    EXPECT_LT(seam.g, 255);
}

struct OpacityCase {
    int opacity;
    Rgb band;  // the top band's pixel over grey
    int tolerance;
};

void PrintTo(const OpacityCase& c, std::ostream* os) { *os << "opacity " << c.opacity; }

class FrameOpacityTest : public FrameTest, public ::testing::WithParamInterface<OpacityCase> {};

TEST_P(FrameOpacityTest, OpacityBlendsTheWholeFrame) {
    const OpacityCase& c = GetParam();
    Settings().SolidOpacity = c.opacity;
    // A 32-bit picture: its alpha goes, its colours stay.
    FiImage framed = DrawFrame(SolidImage(100, 100, 32, kGrey), 100, 100);
    ASSERT_TRUE(framed);
    EXPECT_EQ(FreeImage_GetBPP(framed.get()), 24u);
    EXPECT_TRUE(Near(PixelAt(framed, 50, 5), c.band, c.tolerance)) << PixelAt(framed, 50, 5);
    EXPECT_TRUE(Near(PixelAt(framed, 50, 50), kGrey, 0));
    if (c.opacity == 0) {
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) ASSERT_TRUE(Near(PixelAt(framed, x, y), kGrey, 0));
    }
}

INSTANTIATE_TEST_SUITE_P(Opacities, FrameOpacityTest,
                         ::testing::Values(OpacityCase{0, kGrey, 0},
                                           OpacityCase{128, Rgb{191, 64, 64}, 2},
                                           OpacityCase{255, kTop, 0},
                                           OpacityCase{-40, kGrey, 0},  // clamped
                                           OpacityCase{900, kTop, 0}));

TEST_F(FrameTest, FrameOffPassesTheSameImageOn) {
    Settings().DoFrame = 0;
    FiImage image = SolidImage(20, 20, 32, kGrey);
    FIBITMAP* given = image.get();
    FiImage result = DrawFrame(std::move(image), 20, 20);
    EXPECT_EQ(result.get(), given);
    EXPECT_EQ(FreeImage_GetBPP(result.get()), 32u);
}

struct TypeCase {
    int doFrame;
    int bands;
};

void PrintTo(const TypeCase& c, std::ostream* os) { *os << "type " << c.doFrame << " bands " << c.bands; }

class FrameNothingVisibleTest : public FrameTest, public ::testing::WithParamInterface<TypeCase> {};

// Frame types that draw nothing still leave a 24-bit image.
TEST_P(FrameNothingVisibleTest, ConvertsTo24BitsAndDrawsNothing) {
    Settings().DoFrame = static_cast<int8_t>(GetParam().doFrame);
    ConversionSettings& s = Settings();
    s.SolidLeft = s.SolidRight = s.SolidTop = s.SolidBottom = GetParam().bands;
    FiImage framed = DrawFrame(SolidImage(30, 20, 32, kGrey), 30, 20);
    ASSERT_TRUE(framed);
    EXPECT_EQ(FreeImage_GetBPP(framed.get()), 24u);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) ASSERT_TRUE(Near(PixelAt(framed, x, y), kGrey, 0));
}

INSTANTIATE_TEST_SUITE_P(Types, FrameNothingVisibleTest,
                         ::testing::Values(TypeCase{1, 0}, TypeCase{2, 10}, TypeCase{-1, 10}));

struct BandCase {
    int32_t left, right, top, bottom;
};

void PrintTo(const BandCase& c, std::ostream* os) {
    *os << c.left << "/" << c.right << "/" << c.top << "/" << c.bottom;
}

class FrameBandSizeTest : public FrameTest, public ::testing::WithParamInterface<BandCase> {};

// Bands larger than the image, negative or extreme: whatever the fill makes
// of them, the step keeps the image's size and goes on.
TEST_P(FrameBandSizeTest, AnyBandSizesGiveAnImageOfTheSameSize) {
    ConversionSettings& s = Settings();
    s.SolidLeft = GetParam().left;
    s.SolidRight = GetParam().right;
    s.SolidTop = GetParam().top;
    s.SolidBottom = GetParam().bottom;
    FiImage framed = DrawFrame(SolidImage(40, 30, 24, kGrey), 40, 30);
    ASSERT_TRUE(framed);
    EXPECT_EQ(FreeImage_GetWidth(framed.get()), 40u);
    EXPECT_EQ(FreeImage_GetHeight(framed.get()), 30u);
}

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

INSTANTIATE_TEST_SUITE_P(Bands, FrameBandSizeTest,
                         ::testing::Values(BandCase{30, 30, 20, 20}, BandCase{-5, 10, -5, 10},
                                           BandCase{kMax, kMax, kMax, kMax},
                                           BandCase{kMin, kMin, kMin, kMin},
                                           BandCase{kMax, kMin, kMin, kMax}));

TEST_F(FrameTest, MalformedColoursAreBlack) {
    Settings().SolidTopColor = "red";
    Settings().SolidLeftColor = "FF00000";
    FiImage framed = DrawFrame(SolidImage(100, 100, 24, kGrey), 100, 100);
    ASSERT_TRUE(framed);
    EXPECT_TRUE(Near(PixelAt(framed, 50, 5), Rgb{0, 0, 0}, 0));
    EXPECT_TRUE(Near(PixelAt(framed, 5, 50), Rgb{0, 0, 0}, 0));
}

TEST_F(FrameTest, NoImagePassesThrough) { EXPECT_FALSE(DrawFrame(nullptr, 10, 10)); }

}  // namespace
}  // namespace vantor
