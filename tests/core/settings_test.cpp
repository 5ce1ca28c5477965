#include <gtest/gtest.h>

#include "core/settings.h"
#include "platform/screen.h"

namespace vantor {
namespace {

struct TokenCase {
    int vocabulary;
    const char* token;
    int value;
};

class TokenToValueTest : public ::testing::TestWithParam<TokenCase> {};

TEST_P(TokenToValueTest, MapsTokenToValue) {
    const TokenCase& c = GetParam();
    EXPECT_EQ(TokenToValue(c.vocabulary, c.token), c.value) << c.token;
}

INSTANTIATE_TEST_SUITE_P(
    Vocabularies, TokenToValueTest,
    ::testing::Values(TokenCase{VocResizeAlgorithm, "BICUBIC", 3},
                      TokenCase{VocResizeAlgorithm, "bicubic", 3},
                      TokenCase{VocResizeAlgorithm, "BiCuBiC", 3},
                      TokenCase{VocResizeAlgorithm, "BICUBIC ", 0},  // whole text compared
                      TokenCase{VocCompression, "ZIP", 1}, TokenCase{VocCompression, "RLE", 1},
                      TokenCase{VocCompression, "LOGLUV", 8}, TokenCase{VocWmSize, "FIXED", 0},
                      TokenCase{VocWmSize, "anything", 0}, TokenCase{VocFrame, "SOLID", 0},
                      TokenCase{VocWatermark, "TEXT", 0}, TokenCase{VocPosition, "bottomright", 8},
                      TokenCase{VocRawLoadAs, "48", 5}, TokenCase{VocRawLoadAs, "48HS", 4},
                      TokenCase{99, "AUTO", 0}));

TEST(ValueToTokenTest, FirstTokenOfValueInLowerCase) {
    EXPECT_EQ(ValueToToken(VocCompression, 1), "rle");
    EXPECT_EQ(ValueToToken(VocPosition, 8), "bottomright");
    EXPECT_EQ(ValueToToken(VocFrame, 1), "solid");
    EXPECT_EQ(ValueToToken(VocFileTimestamp, 7), "");
    EXPECT_EQ(ValueToToken(VocWmSize, 1), "");
    const char* expected[] = {"none", "rle", "piz", "pxr24", "b44", "adobedeflate", "lzw", "jpeg",
                              "logluv"};
    for (int v = 0; v <= 8; ++v) EXPECT_EQ(ValueToToken(VocCompression, v), expected[v]);
}

TEST(ResetSettingsTest, KeepAspectRatioDependsOnFaceAndWindowIsCentred) {
    SetScreenSizeProvider([] { return std::optional<ScreenSize>(ScreenSize{1920, 1080}); });
    ResetSettings(true);
    EXPECT_EQ(Settings().KeepAspectRatio, 0);
    EXPECT_EQ(Settings().WindowX, (1920 - 510) / 2);
    EXPECT_EQ(Settings().WindowY, (1080 - 260) / 2);
    ResetSettings(false);
    EXPECT_EQ(Settings().KeepAspectRatio, 1);

    SetScreenSizeProvider([] { return std::optional<ScreenSize>(ScreenSize{500, 200}); });
    ResetSettings(false);
    EXPECT_EQ(Settings().WindowX, 100);
    EXPECT_EQ(Settings().WindowY, 100);

    SetScreenSizeProvider(nullptr);  // no display: unknown screen, fallback
    ResetSettings(false);
    EXPECT_EQ(Settings().WindowX, 100);
    EXPECT_GT(Settings().UpdateDate, 0);
    EXPECT_EQ(Settings().UpdateDate, Settings().CustomTimestamp);
    EXPECT_EQ(Settings().OutputFormat, "dds");
    EXPECT_EQ(Settings().InputFormat, "psd");
}

TEST(FormatChecksTest, OutputFormatAndBitDepth) {
    EXPECT_TRUE(IsOutputFormat("dds"));
    EXPECT_FALSE(IsOutputFormat("DDS"));
    EXPECT_FALSE(IsOutputFormat("png"));
    EXPECT_TRUE(IsAllowedBpp("dds", 0));
    EXPECT_TRUE(IsAllowedBpp("dds", 32));
    EXPECT_FALSE(IsAllowedBpp("dds", 24));
    EXPECT_TRUE(IsAllowedBpp("png", 48));
}

TEST(StoreIntegerTest, EightBitFieldsKeepTheLowBits) {
    ConversionSettings s;
    StoreInteger(s, &ConversionSettings::OutFoldersNumber, 300);
    EXPECT_EQ(s.OutFoldersNumber, 44);
    StoreInteger(s, &ConversionSettings::ImageBrightness, -50);
    EXPECT_EQ(s.ImageBrightness, -50);
}

}  // namespace
}  // namespace vantor
