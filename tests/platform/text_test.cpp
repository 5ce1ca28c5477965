#include "platform/text.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(TextTest, CaseMappingIsUnicodeAware) {
    EXPECT_EQ(ToUpper("abc-é-ß-ж"), "ABC-É-ß-Ж");  // ß has no single upper-case letter
    EXPECT_EQ(ToLower("ÀÉÎ Straße ЖЁ"), "àéî straße жё");
    EXPECT_EQ(ToTitle("éCOLE"), "École");
    EXPECT_EQ(ToUpper(std::string("a\xFFz")), std::string("A\xFFZ"));  // stray bytes survive
}

TEST(TextTest, SearchAndReplaceIgnoreCase) {
    EXPECT_EQ(FindNoCase("Files %S1% of %s2%", "%s1%"), 6u);
    EXPECT_TRUE(ContainsNoCase("Größe %WIDTH%", "%width%"));
    EXPECT_EQ(ReplaceAllNoCase("%S1% and %s1%", "%s1%", "x"), "x and x");
    EXPECT_EQ(ReplaceAll("a.b.c", ".", "::"), "a::b::c");
}

TEST(TextTest, TrimSplitAndLeadingInteger) {
    EXPECT_EQ(Trim(" \t a b \t"), "a b");
    EXPECT_EQ(Trim("\"x\"", "\""), "x");
    EXPECT_EQ(Split("a\t\tb", '\t'), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(Split("", ','), (std::vector<std::string>{""}));
    EXPECT_EQ(LeadingInteger("  -42px"), -42);
    EXPECT_EQ(LeadingInteger("+7"), 7);
    EXPECT_EQ(LeadingInteger("abc"), 0);
    EXPECT_EQ(Latin1ToUtf8("caf\xE9"), "café");
}

}  // namespace
}  // namespace vantor
