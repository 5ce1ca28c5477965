// Every PSD fixture through the real executable: files the decoder reads
// become DDS files that independent readers (nvddsinfo, Pillow) accept with
// a whole mip chain; 8-bit sources stay close to the decoder's own 32-bit
// conversion; refused files end with "Conversion stopped" and leave nothing.
#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

#include "formats/psd_check.h"
#include "platform/files.h"
#include "test_support.h"

namespace vantor {
namespace {

using test::FixturePath;
using test::NvddsinfoField;
using test::ProbeDds;
using test::RunShell;
using test::RunVantor;
using test::TempDir;

// PSNR over RGB of the pixels that are opaque enough for DXT1 to keep.
double RgbPsnr(FIBITMAP* reference, FIBITMAP* decoded) {
    const unsigned w = FreeImage_GetWidth(reference), h = FreeImage_GetHeight(reference);
    double squared = 0;
    long count = 0;
    for (unsigned y = 0; y < h; ++y) {
        const BYTE* a = FreeImage_GetScanLine(reference, static_cast<int>(y));
        const BYTE* b = FreeImage_GetScanLine(decoded, static_cast<int>(y));
        for (unsigned x = 0; x < w; ++x, a += 4, b += 4) {
            if (a[FI_RGBA_ALPHA] < 128 || b[FI_RGBA_ALPHA] == 0) continue;
            for (int c : {FI_RGBA_RED, FI_RGBA_GREEN, FI_RGBA_BLUE}) {
                double d = double(a[c]) - double(b[c]);
                squared += d * d;
                ++count;
            }
        }
    }
    if (count == 0 || squared == 0) return 99.0;
    return 10.0 * std::log10(255.0 * 255.0 / (squared / double(count)));
}

double PsnrOfDecoded(FIBITMAP* reference, const std::string& png) {
    FIBITMAP* decodedPng = FreeImage_Load(FIF_PNG, png.c_str(), 0);
    if (!decodedPng) return 0.0;
    FIBITMAP* decoded = FreeImage_ConvertTo32Bits(decodedPng);
    const double psnr = RgbPsnr(reference, decoded);
    FreeImage_Unload(decoded);
    FreeImage_Unload(decodedPng);
    return psnr;
}

class FixtureEndToEndTest : public ::testing::TestWithParam<std::string> {};

TEST_P(FixtureEndToEndTest, ConvertsOrStopsCleanly) {
    std::string name = GetParam();
    std::string input = FixturePath(name);
    TempDir home, out, in;
    if (name.substr(name.size() - 4) == ".psb") {
        // Only the "psd" extension is accepted; the large-document format
        // itself loads under that name.
        name.replace(name.size() - 4, 4, ".psd");
        test::WriteFile(in.file(name), test::ReadFile(input));
        input = in.file(name);
    }
    const bool plausible = CheckPsdFile(input);
    test::RunResult run = RunVantor({"-i", input, "-o", out.path()}, home.path());
    EXPECT_EQ(run.exitCode, 0);

    const std::string dds = out.file(name.substr(0, name.rfind('.')) + ".dds");
    if (!plausible) {
        // An empty file is turned away by the input check, before any loading.
        const char* expected = QueryPath(input).size == 0 ? "Error: Invalid input file"
                                                          : "Conversion stopped";
        EXPECT_NE(run.out.find(expected), std::string::npos) << run.out;
        EXPECT_EQ(ListFolder(out.path()), std::vector<std::string>{});
        return;
    }
    ASSERT_NE(run.out.find("Files converted: 1 of 1"), std::string::npos) << run.out;
    ASSERT_EQ(ListFolder(out.path()), std::vector<std::string>{FileNamePart(dds)});

    FIBITMAP* loaded = FreeImage_Load(FIF_PSD, input.c_str(), 0);
    ASSERT_NE(loaded, nullptr);
    const unsigned w = FreeImage_GetWidth(loaded), h = FreeImage_GetHeight(loaded);
    const unsigned levels = static_cast<unsigned>(std::floor(std::log2(std::max(w, h)))) + 1;

    EXPECT_EQ(NvddsinfoField(dds, "Width"), std::to_string(w));
    EXPECT_EQ(NvddsinfoField(dds, "Height"), std::to_string(h));
    EXPECT_EQ(NvddsinfoField(dds, "Mipmap count"), std::to_string(levels));
    EXPECT_EQ(NvddsinfoField(dds, "FourCC"), "'DXT1'");

    const std::string png = out.file("level0.png");
    auto probe = ProbeDds(dds, png);
    EXPECT_EQ(probe["width"], std::to_string(w));
    EXPECT_EQ(probe["height"], std::to_string(h));
    EXPECT_EQ(probe["mips"], std::to_string(levels));
    EXPECT_EQ(probe["chain"], "ok") << "mip levels do not add up to the file size";

    if (FreeImage_GetImageType(loaded) == FIT_BITMAP && FreeImage_GetBPP(loaded) <= 32) {
        FIBITMAP* reference = FreeImage_ConvertTo32Bits(loaded);
        const double ours = PsnrOfDecoded(reference, png);
        // The same reference through another DXT1 encoder shows what the
        // format allows for this picture (tiny colour charts fit it badly).
        const std::string refPng = out.file("reference.png"), imDds = out.file("im.dds");
        ASSERT_TRUE(FreeImage_Save(FIF_PNG, reference, refPng.c_str(), 0));
        RunShell("/usr/bin/convert '" + refPng + "' -define dds:compression=dxt1 " +
                 "-define dds:mipmaps=0 '" + imDds + "'");
        ProbeDds(imDds, out.file("im.png"));
        const double baseline = PsnrOfDecoded(reference, out.file("im.png"));
        std::printf("PSNR %s: %.1f dB (ImageMagick DXT1 %.1f dB)\n", name.c_str(), ours, baseline);
        EXPECT_GE(ours, std::min(30.0, baseline - 4.0)) << name;
        FreeImage_Unload(reference);
    }
    FreeImage_Unload(loaded);
}

std::vector<std::string> AllFixtures() {
    std::vector<std::string> names;
    for (const std::string& n : ListFolder(FixturePath("")))
        if (n.size() > 4 && (n.substr(n.size() - 4) == ".psd" || n.substr(n.size() - 4) == ".psb"))
            names.push_back(n);
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(AllFixtures, FixtureEndToEndTest, ::testing::ValuesIn(AllFixtures()),
                         [](const auto& info) {
                             std::string n = info.param;
                             for (char& c : n)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return n;
                         });

}  // namespace
}  // namespace vantor
