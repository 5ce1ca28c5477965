#include "core/ini.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vantor {
namespace {

TEST(IniTest, ReadsGroupsKeysAndValuesByTheRules) {
    IniDocument doc = ParseIni(
        "\xEF\xBB\xBF\r\n"
        "; a comment\r\n"
        "  [General]\r\n"
        "Language = en  \r\n"
        "\tEmpty =\r\n"
        "Key With Spaces\t= value = with equals\r\n"
        "Language = second\r\n"
        "[general]\n"
        "Language = other group\n"
        "[Unclosed\r"
        "x=1");
    ASSERT_EQ(doc.groups.size(), 3u);
    EXPECT_EQ(doc.Value("GENERAL", "language"), "en");  // first group, first key win
    EXPECT_EQ(doc.Value("General", "Empty"), "");       // present but empty
    EXPECT_EQ(doc.Value("General", "Missing"), std::nullopt);
    EXPECT_EQ(doc.Value("general", "key with spaces"), "value = with equals");
    EXPECT_EQ(doc.Value("Unclosed", "x"), "1");
    EXPECT_EQ(doc.FindGroup("nothing"), nullptr);
}

TEST(IniTest, BytesWithoutAByteOrderMarkAreLatin1) {
    IniDocument doc = ParseIni("[W]\nText = caf\xE9\n");
    EXPECT_EQ(doc.Value("W", "Text"), "café");
    IniDocument utf8 = ParseIni("\xEF\xBB\xBF[W]\nText = café\n");
    EXPECT_EQ(utf8.Value("W", "Text"), "café");
}

TEST(IniTest, NumberReaders) {
    EXPECT_EQ(IniInteger("300"), 300);
    EXPECT_EQ(IniInteger("-12abc"), -12);
    EXPECT_EQ(IniInteger("abc"), 0);
    EXPECT_FLOAT_EQ(IniFloat("2.500000"), 2.5f);
    EXPECT_TRUE(std::isinf(IniFloat("+infinity")) && IniFloat("+Infinity") > 0);
    EXPECT_TRUE(std::isinf(IniFloat("-INFINITY")) && IniFloat("-Infinity") < 0);
    EXPECT_TRUE(std::isnan(IniFloat("nan")));
    EXPECT_EQ(IniFloat("x"), 0.0f);
}

}  // namespace
}  // namespace vantor
