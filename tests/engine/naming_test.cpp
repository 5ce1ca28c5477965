#include "engine/naming.h"

#include <gtest/gtest.h>

#include "core/settings.h"
#include "core/state.h"
#include "platform/clock.h"

namespace vantor {
namespace {

class NamingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings(true);
        ResetStateForTests();
        State().OutputFolder = "/out/";
        State().OutputExtension = "dds";
        State().CurrentInput = "/in/Photo.psd";
    }
};

struct MaskCase {
    const char* input;
    const char* mask;
    const char* expected;
};

class MaskTest : public NamingTest, public ::testing::WithParamInterface<MaskCase> {};

TEST_P(MaskTest, ExpandsTheMask) {
    const MaskCase& c = GetParam();
    State().CurrentInput = c.input;
    State().FinalWidth = 640;
    State().FinalHeight = 480;
    State().OutputBpp = 32;
    State().SequenceNumber = 1;
    State().RandomNumber = 42;
    Settings().FilenameMask = c.mask;
    EXPECT_EQ(ExpandFilenameMask(), c.expected) << c.mask;
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, MaskTest,
    ::testing::Values(MaskCase{"/in/a.psd", "", "a.dds"},
                      MaskCase{"/in/a.psd", "%filename%.%ext%", "a.dds"},
                      MaskCase{"/in/a.psd", "%FILENAME%.%EXT%", "a.dds"},
                      MaskCase{"/in/Shot.psd", "Photo_%n%.%ext%", "photo_00001.dds"},
                      MaskCase{"/in/mY_PHOTO.psd", "%filename[t]%.%ext[t]%", "My_photo.Dds"},
                      MaskCase{"/in/mY_PHOTO.psd", "%filename[u]%-%filename[l]%.%ext[u]%",
                               "MY_PHOTO-my_photo.DDS"},
                      MaskCase{"/in/%ext%.psd", "%filename%.%ext%", "dds.dds"},
                      MaskCase{"/in/a.psd", "%width%x%height%_%bpp%", "640x480_32"},
                      MaskCase{"/in/a.psd", "r%rnd%", "r00042"},
                      MaskCase{"/in/a.psd", "out.dds", "out.dds"},
                      MaskCase{"/in/Ünï.psd", "%filename[u]%", "ÜNÏ"}));

TEST_F(NamingTest, SequenceNumbersAreFiveCharacters) {
    Settings().FilenameMask = "%n%";
    State().SequenceNumber = 123456;
    EXPECT_EQ(ExpandFilenameMask(), "12345");  // a longer number keeps its first five digits
    ResetNameCounters();
    EXPECT_EQ(ExpandFilenameMask(), "00001");
    AdvanceNameCounters();
    EXPECT_EQ(ExpandFilenameMask(), "00002");
    for (int i = 0; i < 200; ++i) {
        AdvanceNameCounters();
        EXPECT_GE(State().RandomNumber, 1);
        EXPECT_LE(State().RandomNumber, 99999);
    }
}

TEST_F(NamingTest, DateTokensReadTheLocalClock) {
    Settings().FilenameMask = "%yyyy%-%mm%-%dd% %hh%:%ii%:%ss%";
    std::tm now = NowLocalTm();
    std::string name = ExpandFilenameMask();
    ASSERT_EQ(name.size(), 19u);
    EXPECT_EQ(name.substr(0, 4), std::to_string(now.tm_year + 1900));
}

TEST_F(NamingTest, WatermarkTextNeedsTwoPercentSigns) {
    State().FinalWidth = 50;
    State().FinalHeight = 30;
    // The rule counts "%" signs: one alone cannot hold a token.
    EXPECT_EQ(ExpandWatermarkText("Size %width"), "Size %width");
    EXPECT_EQ(ExpandWatermarkText("100% %width"), "100% %width");
    EXPECT_EQ(ExpandWatermarkText("%width%x%height%"), "50x30");
    EXPECT_EQ(ExpandWatermarkText("Made By %WIDTH%x%Height% px"), "Made By 50x30 px");
}

TEST(FileNameWithoutExtensionTest, Table) {
    const std::pair<const char*, const char*> cases[] = {
        {"archive", "archive"},        {".profile", ".profile"},
        {"photo.", "photo"},           {"scan.final.psd", "scan.final"},
        {"/a.b/c", "c"},               {"/x y/my file.psd", "my file"},
        {"C:\\in\\x.psd", "x"},        {"\"quoted.psd\"", "quoted"},
        {"/in/name.with space", "name.with space"},
    };
    for (const auto& [path, expected] : cases) EXPECT_EQ(FileNameWithoutExtension(path), expected) << path;
}

TEST(RelativeSubfolderOfTest, Table) {
    EXPECT_EQ(RelativeSubfolderOf("/in/raw/a.psd", "/in/"), "raw/");
    EXPECT_EQ(RelativeSubfolderOf("/in/a.psd", "/in/"), "");
    EXPECT_EQ(RelativeSubfolderOf("/other/a.psd", "/in/"), "");
    EXPECT_EQ(RelativeSubfolderOf("", "/in/"), "");
    EXPECT_EQ(RelativeSubfolderOf("/in/a.psd", ""), "");
}

TEST_F(NamingTest, OutputAndTemporaryPathsShareTheFolder) {
    State().RelativeSubfolder = "raw/";  // token values keep their own case
    Settings().KeepSubfolders = 1;
    EXPECT_EQ(OutputFilePath(), "/out/raw/Photo.dds");
    std::string temporary = TemporaryFilePath();
    ASSERT_EQ(temporary.substr(0, 15), "/out/raw/vantor");
    EXPECT_EQ(temporary.substr(temporary.size() - 4), ".dds");
    Settings().KeepSubfolders = 0;
    EXPECT_EQ(OutputFilePath(), "/out/Photo.dds");
    EXPECT_EQ(TemporaryFilePath().substr(0, 11), "/out/vantor");
}

TEST(RandomLetterNameTest, DateLettersThenFiveRandomLetters) {
    int32_t before = NowLocalSeconds();
    std::string name = RandomLetterName("vantor", ".x");
    int32_t after = NowLocalSeconds();
    std::string digits = std::to_string(before);
    ASSERT_EQ(name.size(), 6 + digits.size() + 5 + 2);
    std::string dateLetters = name.substr(6, digits.size());
    auto lettersOf = [](int32_t seconds) {
        std::string s;
        for (char d : std::to_string(seconds)) s += static_cast<char>('a' + (d - '0'));
        return s;
    };
    EXPECT_TRUE(dateLetters == lettersOf(before) || dateLetters == lettersOf(after));
    for (char c : name.substr(6 + digits.size(), 5)) EXPECT_TRUE(c >= 'a' && c <= 'z');
    EXPECT_EQ(name.substr(name.size() - 2), ".x");
}

}  // namespace
}  // namespace vantor
