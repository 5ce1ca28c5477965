// Frames and watermarks through the real executable: level 0 of the DDS,
// decoded by Pillow, changes only where the drawing goes; a font that does
// not resolve stops the run before anything is written.
#include <FreeImage.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/image.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "test_support.h"

namespace vantor {
namespace {

using test::FixturePath;
using test::RunShell;
using test::RunVantor;
using test::TempDir;

const char* kFixture = "rgb8-1layer-101x55.psd";
const char* kOutput = "rgb8-1layer-101x55.dds";

// Level 0 of a DDS file as Pillow decodes it, loaded back as 32-bit pixels.
FiImage DecodeLevel0(const std::string& dds, const TempDir& scratch) {
    return test::DecodeLevelZero(dds, scratch.file("level0.png"));
}

// Converts the fixture with the extra options and returns level 0.
FiImage ConvertWith(const std::vector<std::string>& options, std::string* console = nullptr) {
    TempDir home, out;
    std::vector<std::string> args{"-i", FixturePath(kFixture), "-o", out.path()};
    args.insert(args.end(), options.begin(), options.end());
    test::RunResult run = RunVantor(args, home.path());
    if (console) *console = run.out;
    EXPECT_NE(run.out.find("Files converted: 1 of 1"), std::string::npos) << run.out;
    return DecodeLevel0(out.file(kOutput), home);
}

struct Box {
    int left = 1 << 30, top = 1 << 30, right = 0, bottom = 0;  // right, bottom exclusive
    bool empty() const { return right == 0; }
};

// Pixels (from the top-left) whose colour differs between the two images.
Box ChangedBox(const FiImage& a, const FiImage& b) {
    Box box;
    const int w = ImageWidth(a), h = ImageHeight(a);
    for (int y = 0; y < h; ++y) {
        const BYTE* p = FreeImage_GetScanLine(a.get(), h - 1 - y);
        const BYTE* q = FreeImage_GetScanLine(b.get(), h - 1 - y);
        for (int x = 0; x < w; ++x, p += 4, q += 4)
            if (p[FI_RGBA_RED] != q[FI_RGBA_RED] || p[FI_RGBA_GREEN] != q[FI_RGBA_GREEN] ||
                p[FI_RGBA_BLUE] != q[FI_RGBA_BLUE]) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
    }
    return box;
}

int RoundUpToBlock(int value) { return (value + 3) / 4 * 4; }  // DXT works in 4 x 4 blocks

TEST(WatermarkEndToEndTest, TopLeftTextChangesOnlyTheTopLeftRegion) {
    FiImage plain = ConvertWith({});
    FiImage marked = ConvertWith({"--wm-text=Hello", "--wm-text-position=topleft"});
    ASSERT_TRUE(plain);
    ASSERT_TRUE(marked);
    ASSERT_EQ(ImageWidth(marked), 101);
    ASSERT_EQ(ImageHeight(marked), 55);

    // The default font, Arial 14 pt, with the default offsets of 10 / 10.
    Font font;
    ASSERT_TRUE(LoadFont(FontRequest{"Arial", 14}, font));
    TextSize text = MeasureText(font, "Hello", TextRendering::Plain);
    Box box = ChangedBox(plain, marked);
    ASSERT_FALSE(box.empty());
    EXPECT_GE(box.left, 8);  // the block that holds the first text pixel
    EXPECT_GE(box.top, 8);
    EXPECT_LE(box.right, RoundUpToBlock(10 + text.width));
    EXPECT_LE(box.bottom, RoundUpToBlock(10 + text.height));
}

TEST(WatermarkEndToEndTest, FrameBandsAppearOnlyAtTheEdges) {
    FiImage plain = ConvertWith({});
    FiImage framed = ConvertWith({"--fr-solid-left=8", "--fr-solid-right=8", "--fr-solid-top=8",
                                  "--fr-solid-bottom=8", "--fr-solid-top-color=FF0000"});
    ASSERT_TRUE(plain);
    ASSERT_TRUE(framed);
    RGBQUAD top{}, inside{}, insidePlain{};
    FreeImage_GetPixelColor(framed.get(), 50, 55 - 1 - 2, &top);
    EXPECT_GE(top.rgbRed, 240);
    EXPECT_LE(top.rgbGreen, 16);
    // Blocks wholly inside the bands' inner edge are as they were.
    for (int y = 8; y < 44; ++y)
        for (int x = 8; x < 92; ++x) {
            FreeImage_GetPixelColor(framed.get(), x, 54 - y, &inside);
            FreeImage_GetPixelColor(plain.get(), x, 54 - y, &insidePlain);
            ASSERT_EQ(inside.rgbRed, insidePlain.rgbRed) << x << "," << y;
            ASSERT_EQ(inside.rgbGreen, insidePlain.rgbGreen) << x << "," << y;
        }
}

bool SamePixels(const FiImage& a, const FiImage& b) {
    if (!a || !b || ImageWidth(a) != ImageWidth(b) || ImageHeight(a) != ImageHeight(b)) return false;
    return ChangedBox(a, b).empty();
}

// The profile keys reach the same fields as the options; the profile calls
// the frame opacity "--WM-SOLID-OPACITY".
TEST(WatermarkEndToEndTest, ProfileKeysDrawWhatTheOptionsDraw) {
    TempDir profileDir;
    const std::string profile = profileDir.file("profile.ini");
    test::WriteFile(profile,
                    "[CLI]\n--WM-TEXT=Hi%eol%there\n--WM-TEXT-POSITION=MIDDLECENTER\n"
                    "--WM-FONT-COLOR=FF0000\n--WM-TEXT-ALIGNMENT=RIGHT\n--WM-BACK-OPACITY=90\n"
                    "--WM-TEXT-ANTIALIASING=1\n--FR-SOLID-TOP=6\n--FR-SOLID-TOP-COLOR=00FF00\n"
                    "--WM-SOLID-OPACITY=128\n");
    FiImage fromOptions = ConvertWith(
        {"--wm-text=Hi%eol%there", "--wm-text-position=middlecenter", "--wm-font-color=FF0000",
         "--wm-text-alignment=right", "--wm-back-opacity=90", "--wm-text-antialiasing",
         "--fr-solid-top=6", "--fr-solid-top-color=00FF00", "--fr-solid-opacity=128"});
    FiImage fromProfile = ConvertWith({"--profile=" + profile});
    FiImage plain = ConvertWith({});
    ASSERT_TRUE(fromOptions);
    EXPECT_TRUE(SamePixels(fromOptions, fromProfile));
    EXPECT_FALSE(SamePixels(fromOptions, plain));
}

TEST(WatermarkEndToEndTest, UnknownFontStopsTheRunAndWritesNothing) {
    TempDir home, out;
    test::RunResult run = RunVantor({"-i", FixturePath(kFixture), "-o", out.path(),
                                     "--wm-text=Hello", "--wm-font=NoSuchFace"},
                                    home.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(std::find(run.lines.begin(), run.lines.end(), "Error: Invalid watermark font"),
              run.lines.end())
        << run.out;
    EXPECT_EQ(run.out.find("Converting..."), std::string::npos);
    EXPECT_EQ(ListFolder(out.path()), std::vector<std::string>{});
}

}  // namespace
}  // namespace vantor
