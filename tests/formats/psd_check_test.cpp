#include "formats/psd_check.h"

#include <gtest/gtest.h>

#include <functional>

#include "test_support.h"

namespace vantor {
namespace {

using test::TempDir;
using test::WriteFile;

void Put16(std::string& s, size_t at, uint32_t v) {
    s[at] = static_cast<char>(v >> 8);
    s[at + 1] = static_cast<char>(v);
}
void Put32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (24 - 8 * i));
}
std::string Be16(uint32_t v) { std::string s(2, '\0'); Put16(s, 0, v); return s; }
std::string Be32(uint32_t v) { std::string s(4, '\0'); Put32(s, 0, v); return s; }

// A minimal 8-bit RGB PSD of 4x3 pixels with raw or RLE merged data.
std::string MinimalPsd(bool rle) {
    std::string s = "8BPS" + Be16(1) + std::string(6, '\0') + Be16(3) + Be32(3) + Be32(4) +
                    Be16(8) + Be16(3);
    s += Be32(0) + Be32(0) + Be32(0);  // colour mode data, resources, layers
    if (!rle) return s + Be16(0) + std::string(4 * 3 * 3, '\x7f');
    s += Be16(1);
    for (int r = 0; r < 9; ++r) s += Be16(2);          // each row: one repeat packet
    for (int r = 0; r < 9; ++r) s += std::string("\xFD\x7f", 2);
    return s;
}

// Byte offsets of the header fields.
constexpr size_t kVersion = 4, kChannels = 12, kHeight = 14, kWidth = 18, kDepth = 22, kMode = 24;

struct MutationCase {
    const char* name;
    std::function<void(std::string&)> mutate;
    bool accepted;
};

class PsdCheckMutationTest : public ::testing::TestWithParam<MutationCase> {};

TEST_P(PsdCheckMutationTest, RefusesImplausibleFiles) {
    const MutationCase& c = GetParam();
    for (bool rle : {false, true}) {
        TempDir dir;
        std::string bytes = MinimalPsd(rle);
        c.mutate(bytes);
        WriteFile(dir.file("x.psd"), bytes);
        std::string reason;
        EXPECT_EQ(CheckPsdFile(dir.file("x.psd"), nullptr, &reason), c.accepted)
            << c.name << (rle ? " (RLE)" : " (raw)") << ": " << reason;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Headers, PsdCheckMutationTest,
    ::testing::Values(
        MutationCase{"valid", [](std::string&) {}, true},
        MutationCase{"signature", [](std::string& s) { s[0] = 'X'; }, false},
        MutationCase{"version 3", [](std::string& s) { Put16(s, kVersion, 3); }, false},
        MutationCase{"zero channels", [](std::string& s) { Put16(s, kChannels, 0); }, false},
        MutationCase{"57 channels", [](std::string& s) { Put16(s, kChannels, 57); }, false},
        MutationCase{"48879 channels", [](std::string& s) { Put16(s, kChannels, 48879); }, false},
        MutationCase{"zero width", [](std::string& s) { Put32(s, kWidth, 0); }, false},
        MutationCase{"PSD width 30001", [](std::string& s) { Put32(s, kWidth, 30001); }, false},
        MutationCase{"height 0", [](std::string& s) { Put32(s, kHeight, 0); }, false},
        MutationCase{"depth 0", [](std::string& s) { Put16(s, kDepth, 0); }, false},
        MutationCase{"depth 12", [](std::string& s) { Put16(s, kDepth, 12); }, false},
        MutationCase{"colour mode 5", [](std::string& s) { Put16(s, kMode, 5); }, false},
        MutationCase{"colour mode 9 (Lab)", [](std::string& s) { Put16(s, kMode, 9); }, true},
        MutationCase{"section past the end", [](std::string& s) { Put32(s, 26, 1000000); }, false},
        MutationCase{"layer section past the end",
                     [](std::string& s) { Put32(s, 34, 0xFFFFFFF0u); }, false},
        MutationCase{"compression 7", [](std::string& s) { Put16(s, 38, 7); }, false},
        MutationCase{"merged data cut by one byte", [](std::string& s) { s.pop_back(); }, false},
        MutationCase{"nothing after the layer section", [](std::string& s) { s.resize(38); },
                     false},
        MutationCase{"header only", [](std::string& s) { s.resize(20); }, false},
        MutationCase{"empty", [](std::string& s) { s.clear(); }, false}));

TEST(PsdCheckTest, RefusesADecodedSizeAboveTheMemoryLimit) {
    TempDir dir;
    WriteFile(dir.file("x.psd"), MinimalPsd(false));
    EXPECT_TRUE(CheckPsdFile(dir.file("x.psd"), nullptr, nullptr, 1000));
    EXPECT_FALSE(CheckPsdFile(dir.file("x.psd"), nullptr, nullptr, 4 * 3 * 3));
}

TEST(PsdCheckTest, ReportsTheHeaderOfAValidFile) {
    TempDir dir;
    WriteFile(dir.file("x.psd"), MinimalPsd(true));
    PsdHeader h;
    ASSERT_TRUE(CheckPsdFile(dir.file("x.psd"), &h));
    EXPECT_EQ(h.version, 1);
    EXPECT_EQ(h.width, 4);
    EXPECT_EQ(h.height, 3);
    EXPECT_EQ(h.channels, 3);
    EXPECT_EQ(h.depth, 8);
    EXPECT_EQ(h.compression, 1);
}

TEST(PsdCheckTest, RefusesFoldersAndMissingFiles) {
    TempDir dir;
    EXPECT_FALSE(CheckPsdFile(dir.path()));
    EXPECT_FALSE(CheckPsdFile(dir.file("missing.psd")));
}

// Inputs that once crashed the decoder stay here as regression files.
TEST(PsdCheckTest, RefusesRegressionFiles) {
    // A PackBits run that spills past its row (found by the fuzz target).
    EXPECT_FALSE(CheckPsdFile(test::TestDataPath("psd/crash-rle-row-overrun.psd")));
}

TEST(PsdCheckTest, RefusesAResourceBlockThatLeavesItsSection) {
    TempDir dir;
    std::string bytes = MinimalPsd(false);
    // Resources section of 12 bytes holding one block that claims 100 bytes.
    std::string block = "8BIM" + Be16(0x0400) + std::string(2, '\0') + Be32(100);
    bytes.replace(30, 4, Be32(static_cast<uint32_t>(block.size())));
    bytes.insert(34, block);
    WriteFile(dir.file("x.psd"), bytes);
    EXPECT_FALSE(CheckPsdFile(dir.file("x.psd")));
    // The same block with a size that fits is fine.
    bytes.replace(34 + 8, 4, Be32(0));
    WriteFile(dir.file("x.psd"), bytes);
    EXPECT_TRUE(CheckPsdFile(dir.file("x.psd")));
}

TEST(PsdCheckTest, RefusesAnRleRowThatDecodesPastItsEnd) {
    TempDir dir;
    std::string bytes = MinimalPsd(true);
    bytes[bytes.size() - 2] = static_cast<char>(0xFC);  // a run of 5 in a row of 4
    WriteFile(dir.file("x.psd"), bytes);
    EXPECT_FALSE(CheckPsdFile(dir.file("x.psd")));
}

// Every broken fixture is refused before the decoder sees it; every other
// fixture, PSB included, passes.
TEST(PsdCheckTest, SortsTheFixtures) {
    const char* broken[] = {"broken-channels48879.psd", "broken-depth0.psd", "broken-empty.psd",
                            "broken-signature.psd", "broken-truncated-100x100.psd"};
    for (const char* name : broken) EXPECT_FALSE(CheckPsdFile(test::FixturePath(name))) << name;
    const char* valid[] = {"bitmap1-raw-63x63.psd",  "cmyk16-raw-64x64.psd",
                           "gray32-raw-64x64.psd",   "rgb8-compat-64x64.psb",
                           "rgb8-nomerged-1x1.psd",  "rgb8-16layers-400x800.psd",
                           "multich16-raw-4x4.psd",  "indexed8-transidx-64x64.psd",
                           "rgb32-alpha-100x150.psd", "rgb8-transp-2alpha-spot-64x64.psd"};
    for (const char* name : valid) {
        std::string reason;
        EXPECT_TRUE(CheckPsdFile(test::FixturePath(name), nullptr, &reason)) << name << ": " << reason;
    }
}

}  // namespace
}  // namespace vantor
