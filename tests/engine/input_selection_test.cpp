#include "engine/input_selection.h"

#include <gtest/gtest.h>

#include "core/settings.h"
#include "core/state.h"
#include "engine/job.h"
#include "test_support.h"

namespace vantor {
namespace {

using test::TempDir;
using test::WriteFile;

class InputSelectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettings(true);
        ResetStateForTests();
        ResetJob();
    }
    TempDir dir;
};

TEST_F(InputSelectionTest, TakesOneAcceptedFileAtATime) {
    WriteFile(dir.file("a.psd"), "x");
    WriteFile(dir.file("b.PSD"), "x");
    WriteFile(dir.file("empty.psd"), "");
    WriteFile(dir.file("c.png"), "x");
    EXPECT_TRUE(AddInputFile(dir.file("a.psd")));
    EXPECT_TRUE(AddInputFile(dir.file("b.PSD")));  // extension compared in lower case
    ASSERT_EQ(InputList().size(), 1u);
    EXPECT_EQ(InputList().begin()->first, dir.file("b.PSD"));

    EXPECT_FALSE(AddInputFile(dir.file("empty.psd")));
    EXPECT_FALSE(AddInputFile(dir.file("c.png")));
    EXPECT_EQ(InputList().begin()->first, dir.file("b.PSD"));  // refusals change nothing

    EXPECT_TRUE(AddInputFile(dir.file("missing.psd")));  // fails later, when it is loaded
    EXPECT_EQ(InputList().begin()->first, dir.file("missing.psd"));
}

TEST_F(InputSelectionTest, StoresTheSubfolderBelowTheInputFolder) {
    State().InputFolder = dir.path();
    EXPECT_TRUE(AddInputFile(dir.file("raw/a.psd")));
    EXPECT_EQ(InputList().begin()->second.RelativeSubfolder, "raw/");
}

TEST_F(InputSelectionTest, RecentFoldersAreNewestFirstWithoutDuplicates) {
    EXPECT_FALSE(RememberOutputFolder(""));
    Settings().OutFoldersNumber = 5;
    for (const char* f : {"/1/", "/2/", "/3/", "/4/", "/5/"}) EXPECT_TRUE(RememberOutputFolder(f));
    EXPECT_EQ(Settings().RecentOutFolders, "/5/\t/4/\t/3/\t/2/\t/1/");
    RememberOutputFolder("/6/");  // the oldest goes
    EXPECT_EQ(Settings().RecentOutFolders, "/6/\t/5/\t/4/\t/3/\t/2/");
    RememberOutputFolder("/out/");
    RememberOutputFolder("/OUT/");  // same folder in other letters replaces it
    EXPECT_EQ(RecentOutputFolder(0), "/OUT/");
    EXPECT_EQ(RecentOutputFolder(1), "/6/");
    EXPECT_EQ(RecentOutputFolder(9), "");
}

TEST_F(InputSelectionTest, RecentOutputFolderTrimsSpaces) {
    Settings().RecentOutFolders = "  /a/ \t/b/";
    EXPECT_EQ(RecentOutputFolder(0), "/a/");
    EXPECT_EQ(RecentOutputFolder(1), "/b/");
    EXPECT_EQ(RecentOutputFolder(2), "");
}

}  // namespace
}  // namespace vantor
