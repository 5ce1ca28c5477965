#include "core/strings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/strings_table.h"
#include "test_support.h"

namespace vantor {
namespace {

using test::TempDir;
using test::WriteFile;

constexpr const char* kMissing = "%NO_STRING_ERROR%";

// Entries per group as the built-in rows hold them.
std::map<std::string, int> CountEntriesPerGroup() {
    std::map<std::string, int> counts;
    std::string group;
    for (const StringPair& row : EnglishStrings()) {
        if (std::string(row.key) == "_END_") break;
        if (std::string(row.key) == "_GROUP_") {
            group = row.value;
            counts[group] = 0;
        } else {
            ++counts[group];
        }
    }
    return counts;
}

struct GroupCount {
    const char* group;
    int entries;
};
void PrintTo(const GroupCount& c, std::ostream* os) {
    *os << c.group;
}

class BuiltInGroupTest : public ::testing::TestWithParam<GroupCount> {};

TEST_P(BuiltInGroupTest, HoldsEveryEntry) {
    EXPECT_EQ(CountEntriesPerGroup()[GetParam().group], GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(Groups, BuiltInGroupTest,
                         ::testing::Values(GroupCount{"Menu", 21}, GroupCount{"General", 7},
                                           GroupCount{"Msg", 28}, GroupCount{"Dialog", 9},
                                           GroupCount{"Preferences", 200}, GroupCount{"About", 3},
                                           GroupCount{"Custom-Converter", 4},
                                           GroupCount{"Uninstall", 3}));

TEST(BuiltInDataTest, GroupsInOrderAndClosedByEndRow) {
    auto rows = EnglishStrings();
    ASSERT_FALSE(rows.empty());
    EXPECT_STREQ(rows.front().key, "_GROUP_");
    EXPECT_STREQ(rows.back().key, "_END_");
    EXPECT_STREQ(rows.back().value, "");
    std::vector<std::string> order;
    for (const StringPair& row : rows)
        if (std::string(row.key) == "_GROUP_") order.push_back(row.value);
    EXPECT_EQ(order, (std::vector<std::string>{"Menu", "General", "Msg", "Dialog", "Preferences",
                                               "About", "Custom-Converter", "Uninstall"}));
}

// The loaded table must be sorted per group, with charIndex pointing at the
// first key of each initial and 0 for initials no key has.
TEST(StringTableTest, GroupsAreSortedAndIndexedByFirstCharacter) {
    ASSERT_TRUE(LoadStringTable(""));
    const StringTable& table = TheStringTable();
    ASSERT_EQ(table.groups.size(), 9u);
    EXPECT_EQ(table.groups[0].name, "");
    EXPECT_EQ(table.groups[5].name, "PREFERENCES");
    EXPECT_EQ(table.groups[5].last - table.groups[5].first + 1, 200);
    EXPECT_EQ(table.keys.size(), 276u);  // 275 entries and the unused slot 0
    for (size_t g = 1; g < table.groups.size(); ++g) {
        const StringGroup& group = table.groups[g];
        EXPECT_EQ(group.first, g == 1 ? 1 : table.groups[g - 1].last + 1) << group.name;
        std::array<int32_t, 256> expected{};
        for (int32_t k = group.first; k <= group.last; ++k) {
            if (k > group.first) {
                EXPECT_LE(table.keys[k - 1], table.keys[k]) << group.name;
            }
            auto c = static_cast<unsigned char>(table.keys[k][0]);
            if (expected[c] == 0) expected[c] = k;
        }
        EXPECT_EQ(group.charIndex, expected) << group.name;
    }
}

// Every built-in row is found again by its group and key, whatever the
// sorting did to the order.
TEST(LookupTextTest, FindsEveryBuiltInRow) {
    ASSERT_TRUE(LoadStringTable(""));
    std::string group;
    for (const StringPair& row : EnglishStrings()) {
        std::string key = row.key;
        if (key == "_END_") break;
        if (key == "_GROUP_") {
            group = row.value;
            continue;
        }
        EXPECT_EQ(LookupText(group, key), row.value) << group << "/" << key;
    }
}

struct LookupCase {
    const char* group;
    const char* key;
    const char* text;
};
void PrintTo(const LookupCase& c, std::ostream* os) {
    *os << c.group << "/" << c.key;
}

class LookupTextCaseTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(LookupTextCaseTest, ReturnsTextOrMissingMarker) {
    ASSERT_TRUE(LoadStringTable(""));
    const LookupCase& c = GetParam();
    EXPECT_EQ(LookupText(c.group, c.key), c.text) << c.group << "/" << c.key;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LookupTextCaseTest,
    ::testing::Values(LookupCase{"msg", "error", "Error"}, LookupCase{"MSG", "ERROR", "Error"},
                      LookupCase{"Msg", "eRRoR", "Error"},
                      LookupCase{"Preferences", "Medium", "Medium"},
                      LookupCase{"preferences", "bits per pixel", "Bits Per Pixel:"},
                      LookupCase{"Preferences", "RGB48HS", "RGB 48-bit (HS)"},
                      LookupCase{"Preferences", "RGB48", "RGB 48-bit"},
                      LookupCase{
                          "Msg", "Invalid output folder",
                          "The following output folder is invalid or doesn't exist:\r\n%s1%\r\n\r\n"
                          "Please, correct the output path and try again!"},
                      LookupCase{"custom-converter", "title", "Find a File Converter"},
                      // Missing keys: before, between and after the keys of the same initial.
                      LookupCase{"Msg", "E", kMissing}, LookupCase{"Msg", "Emptz", kMissing},
                      LookupCase{"Msg", "Zebra", kMissing}, LookupCase{"Msg", "", kMissing},
                      LookupCase{"Msg", "Error ", kMissing},
                      // Keys whose first character is beyond charIndex or outside ASCII.
                      LookupCase{"Msg",
                                 "\xE2\x82\xAC"
                                 "rror",
                                 kMissing},
                      LookupCase{"Msg", "\xC3\xA9rror", kMissing},
                      LookupCase{"Nothing", "Error", kMissing}, LookupCase{"", "Error", kMissing}));

TEST(LookupTextTest, MissingGroupDoesNotSpoilTheNextLookup) {
    ASSERT_TRUE(LoadStringTable(""));
    EXPECT_EQ(LookupText("General", "Ready"), "Ready");
    EXPECT_EQ(LookupText("No Such Group", "Ready"), kMissing);
    EXPECT_EQ(LookupText("General", "Ready"), "Ready");
    EXPECT_EQ(LookupText("General", "Nope"), kMissing);
    EXPECT_EQ(LookupText("Dialog", "OK"), "OK");
    EXPECT_EQ(LookupText("Msg", "Warning"), "Warning");
}

TEST(LookupTextTest, RebuildingGivesTheSameTable) {
    ASSERT_TRUE(LoadStringTable(""));
    EXPECT_EQ(LookupText("Msg", "Error"), "Error");
    ASSERT_TRUE(LoadStringTable(""));
    EXPECT_EQ(LookupText("Msg", "Error"), "Error");
    EXPECT_EQ(TheStringTable().keys.size(), 276u);
    EXPECT_EQ(TheStringTable().groups.size(), 9u);
}

TEST(LanguageFileTest, OverlaysKnownKeysAndKeepsEnglishForTheRest) {
    TempDir dir;
    const std::string path = dir.file("de.lng");
    WriteFile(path,
              "\xEF\xBB\xBF; German\r\n"
              "[msg]\r\n"
              "error = Fehler\r\n"
              "CONVERSION COMPLETE =   Konvertierung abgeschlossen  \r\n"
              "Warning =\r\n"
              "Not A Key = ignored\r\n"
              "[Preferences]\r\n"
              "medium = Mittel\r\n"
              "[Unknown Group]\r\n"
              "Error = never\r\n"
              "[Msg]\r\n"
              "Conversion is not complete = second group of the same name is ignored\r\n");
    ASSERT_TRUE(LoadStringTable(path));
    EXPECT_EQ(LookupText("Msg", "Error"), "Fehler");
    EXPECT_EQ(LookupText("Msg", "Conversion complete"), "Konvertierung abgeschlossen");
    EXPECT_EQ(LookupText("Msg", "Warning"), "");  // a present key with nothing after "="
    EXPECT_EQ(LookupText("Msg", "Conversion is not complete"), "Conversion stopped");
    EXPECT_EQ(LookupText("Msg", "Not A Key"), kMissing);
    EXPECT_EQ(LookupText("Preferences", "Medium"), "Mittel");
    EXPECT_EQ(LookupText("Preferences", "Large"), "Large");
    EXPECT_EQ(LookupText("General", "Ready"), "Ready");

    ASSERT_TRUE(LoadStringTable(""));  // rebuilding without the file brings English back
    EXPECT_EQ(LookupText("Msg", "Error"), "Error");
}

TEST(LanguageFileTest, FileWithoutByteOrderMarkIsLatin1) {
    TempDir dir;
    const std::string path = dir.file("fr.lng");
    WriteFile(path,
              "[Msg]\nError=Erreur d\xE9tect\xE9"
              "e\n");
    ASSERT_TRUE(LoadStringTable(path));
    EXPECT_EQ(LookupText("Msg", "Error"),
              "Erreur d\xC3\xA9tect\xC3\xA9"
              "e");
}

TEST(LanguageFileTest, UnreadableFileKeepsEnglish) {
    TempDir dir;
    EXPECT_TRUE(LoadStringTable(dir.file("missing.lng")));
    EXPECT_EQ(LookupText("Msg", "Error"), "Error");
    EXPECT_TRUE(LoadStringTable(dir.path()));  // a folder, not a file
    EXPECT_EQ(LookupText("Dialog", "Cancel"), "Cancel");
}

struct FormatCase {
    const char* text;
    const char* s1;
    const char* s2;
    const char* s3;
    const char* s4;
    const char* expected;
};
void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.text;
}

class FormatTextTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatTextTest, FillsPlaceholders) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatText(c.text, c.s1, c.s2, c.s3, c.s4), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatTextTest,
    ::testing::Values(FormatCase{"Files converted: %s1% of %s2%", "3", "10", "", "",
                                 "Files converted: 3 of 10"},
                      FormatCase{"Files converted: %s1% of %s2%", "", "10", "", "",
                                 "Files converted: %s1% of 10"},
                      FormatCase{"%S1% and %s1% and %S2%", "a", "b", "", "", "a and a and b"},
                      FormatCase{"%s4%%s3%%s2%%s1%", "1", "2", "3", "4", "4321"},
                      FormatCase{"", "x", "y", "z", "w", ""},
                      FormatCase{"no placeholders", "x", "", "", "", "no placeholders"},
                      // Filled one after the other: the first argument's "%s2%" is filled next.
                      FormatCase{"[%s1%]", "%s2%", "two", "", "", "[two]"},
                      FormatCase{"(%s1%/%s2%)", "%s1%", "", "", "", "(%s1%/%s2%)"}));

}  // namespace
}  // namespace vantor
